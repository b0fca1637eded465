#!/bin/sh
# Installs, from Debian's packages, everything that building, running and testing VARN needs.
# Safe to run again: packages already present are left alone and nothing is fetched for them.
set -eu

packages="
build-essential cmake ninja-build pkg-config
qt6-base-dev qt6-base-dev-tools libgl-dev qt6-qpa-plugins libxcb1-dev libxlsxwriter-dev
librsvg2-bin fonts-dejavu-core
xvfb xauth xdotool openbox x11-apps x11-utils imagemagick
poppler-utils xdg-utils shared-mime-info desktop-file-utils appstream
clang libclang-rt-14-dev libbenchmark-dev time hyperfine
dpkg-dev file libfile-mimeinfo-perl python3 python3-openpyxl
"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    echo "install-deps: everything is installed"
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
