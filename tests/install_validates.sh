#!/bin/sh
# Installs the build into a temporary DESTDIR and checks what a desktop needs of it.
set -eu
build=$1
source=$(cd "$(dirname "$0")/.." && pwd)
for tool in desktop-file-validate appstreamcli update-mime-database; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/install-deps.sh installs it)"; exit 77; }
done
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" >/dev/null
share="$root/usr/share"
id=example.varn.varn

test -x "$root/usr/bin/VARN"
# The program is one file: copied alone into an empty folder, it answers and exports, and
# started in the temporary root it shows the window until it is stopped.
alone="$root/alone"
mkdir "$alone"
cp "$root/usr/bin/VARN" "$alone/VARN"
"$alone/VARN" --version >/dev/null
for format in pdf csv xlsx; do
    "$alone/VARN" --export "$alone/sample.$format" "$source/fuzz/corpus/estimatefile/sample.vrn"
    test -s "$alone/sample.$format"
done
status=0
QT_QPA_PLATFORM=offscreen HOME="$root/home" XDG_CONFIG_HOME="$root/home/config" XDG_DATA_HOME="$root/home/data" \
    XDG_CACHE_HOME="$root/home/cache" timeout 3 "$root/usr/bin/VARN" >"$root/window.log" 2>&1 || status=$?
if [ "$status" -ne 124 ]; then
    cat "$root/window.log"
    exit 1
fi
desktop-file-validate "$share/applications/$id.desktop"
grep -qx "Exec=/usr/bin/VARN %f" "$share/applications/$id.desktop"
appstreamcli validate --no-net --pedantic "$share/metainfo/$id.metainfo.xml"
# The web site shows the screenshots of docs/screenshots; each one the metadata names is there.
shots=$(sed -n 's|.*<image[^>]*>[^<]*/screenshots/\([^<]*\)</image>.*|\1|p' "$share/metainfo/$id.metainfo.xml")
test -n "$shots"
for shot in $shots; do
    file "$source/docs/screenshots/$shot" | grep -q "PNG image data"
done
# The user guide the Help menu shows, to read without the program.
grep -q "^## Retainage" "$share/doc/varn/user-guide.md"
for size in 16 32 48 64 128 256; do
    file "$share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "$size x $size"
done
test -s "$share/icons/hicolor/scalable/apps/$id.svg"
update-mime-database "$share/mime" >/dev/null 2>&1
grep -q "application/x-varn:\*\.vrn" "$share/mime/globs2"
# The manual page, read as man reads it: any warning of the formatter is a fault of the page.
page="$share/man/man1/VARN.1.gz"
test -s "$page"
if command -v groff >/dev/null; then
    warnings=$(gzip -dc "$page" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
    test -z "$warnings" || { echo "$warnings"; exit 1; }
fi
echo "installed files are valid"
