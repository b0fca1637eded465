#!/bin/sh
# Makes the .deb from the build, into a temporary folder, and checks it as Debian checks its
# own packages: any lintian error or warning fails, and so does any sign of a build that is
# not hardened (even among the pedantic tags), a desktop entry that docks cannot match with
# the window, and a package file not named as Debian names its packages.
set -eu
build=$1
for tool in cpack lintian dpkg-shlibdeps dpkg-buildflags; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/install-deps.sh test installs it)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
set -- "$work"/*.deb
test -f "$1" || { echo "no package was made"; cat "$work/cpack.log"; exit 1; }
# Root is warned about by lintian itself; that line says nothing of the package.
status=0
lintian --pedantic --display-info --tag-display-limit 0 --fail-on error,warning "$1" >"$work/lintian.log" 2>&1 || status=$?
grep -v "running with root privileges" "$work/lintian.log" || true
test "$status" -eq 0
if grep -E "hardening-|binary-has-unneeded-section" "$work/lintian.log"; then
    echo "the program is not built hardened"
    exit 1
fi
name=$(basename "$1")
expected="varn_$(dpkg-deb -f "$1" Version)_$(dpkg --print-architecture).deb"
test "$name" = "$expected" || { echo "the package is named $name, not $expected"; exit 1; }
test "$(dpkg-deb -f "$1" Package)" = varn
dpkg-deb --fsys-tarfile "$1" | tar -xO ./usr/share/applications/example.varn.varn.desktop | grep -qx "StartupWMClass=VARN" \
    || { echo "the desktop entry names no StartupWMClass=VARN"; exit 1; }
# The libraries the program links, the spreadsheet library among them, are found by shlibdeps.
dpkg-deb -f "$1" Depends | grep -q libxlsxwriter4
echo "the package passes lintian"
