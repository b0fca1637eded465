#!/bin/sh
# Makes the .deb from the build, into a temporary folder, and checks it as Debian checks its
# own packages: any lintian error or warning fails.
set -eu
build=$1
for tool in cpack lintian dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/install-deps.sh test installs it)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
set -- "$work"/*.deb
test -f "$1" || { echo "no package was made"; cat "$work/cpack.log"; exit 1; }
# Root is warned about by lintian itself; that line says nothing of the package.
status=0
lintian --tag-display-limit 0 --fail-on error,warning "$1" >"$work/lintian.log" 2>&1 || status=$?
grep -v "running with root privileges" "$work/lintian.log" || true
test "$status" -eq 0
test "$(dpkg-deb -f "$1" Package)" = varn
# The libraries the program links, the spreadsheet library among them, are found by shlibdeps.
dpkg-deb -f "$1" Depends | grep -q libxlsxwriter4
echo "the package passes lintian"
