#!/bin/sh
# Makes the screenshots the AppStream metadata names, from the example estimate on the
# offscreen platform, in a settings folder of their own, into docs/screenshots:
# scripts/make-screenshots.sh [BUILD_DIR]
set -eu
source=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$source/build}
cmake --build "$build" --parallel 2 --target make_screenshots
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$source/docs/screenshots"
QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$home" XDG_CONFIG_HOME="$home/config" \
    XDG_DATA_HOME="$home/data" VARN_SCREENSHOT_DIR="$source/docs/screenshots" \
    "$build/tests/gui/make_screenshots"
# Small enough to keep in the repository.
if command -v optipng >/dev/null; then
    optipng -quiet -o5 "$source"/docs/screenshots/*.png
fi
