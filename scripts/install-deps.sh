#!/bin/sh
# Installs, from Debian's packages, what one use of the source tree needs:
#   scripts/install-deps.sh run       building the program and running it
#   scripts/install-deps.sh test      run, and what the tests need (Gnumeric recalculates workbooks)
#   scripts/install-deps.sh fuzz      run, and the fuzzing compiler and runtime
#   scripts/install-deps.sh bench     run, and the benchmark library, timers and Gnumeric to compare with
#   scripts/install-deps.sh package   run, and what cpack needs to make the .deb
# Safe to run again: packages already present are left alone and nothing is fetched for them.
set -eu

# Qt Charts' CMake files look for Qt OpenGL's, which qt6-charts-dev does not bring along.
run="
build-essential cmake ninja-build pkg-config
qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev qt6-qpa-plugins libxcb1-dev libxlsxwriter-dev libminizip-dev libfontconfig-dev
libqpdf-dev
librsvg2-bin fonts-dejavu-core fonttools
xdg-utils shared-mime-info desktop-file-utils gtk-update-icon-cache
"
test="
xvfb xauth xdotool openbox x11-apps x11-utils imagemagick
poppler-utils qpdf appstream file libfile-mimeinfo-perl python3 python3-openpyxl
groff-base dpkg-dev lintian clang-format locales gnumeric
dbus-daemon at-spi2-core python3-pyatspi
"
fuzz="clang libclang-rt-14-dev"
bench="libbenchmark-dev time hyperfine xvfb gnumeric jq"
package="dpkg-dev file"

set_name=${1:-}
case "$set_name" in
    run) packages="$run" ;;
    test) packages="$run $test" ;;
    fuzz) packages="$run $fuzz" ;;
    bench) packages="$run $bench" ;;
    package) packages="$run $package" ;;
    *)
        echo "usage: $0 run|test|fuzz|bench|package" >&2
        exit 2
        ;;
esac

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        case " $missing " in
            *" $p "*) ;;
            *) missing="$missing $p" ;;
        esac
    fi
done

if [ -z "$missing" ]; then
    echo "install-deps: everything for '$set_name' is installed"
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    sudo=""
else
    sudo="sudo"
fi

echo "install-deps: installing$missing"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
# shellcheck disable=SC2086
$sudo apt-get install -y -q --no-install-recommends $missing
