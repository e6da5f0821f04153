#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, only those
# that are missing. Runs apt-get as root (or through sudo).
set -euo pipefail

packages=(
    cmake ninja-build g++ googletest libgtest-dev libgmock-dev
    g++-mingw-w64-x86-64-posix mingw-w64-tools
    wine64 wine
    coreutils util-linux libc-bin locales
    zip unzip
    # The window tests lay out and measure Japanese text, as it is on a
    # Japanese Windows: without these a fallback font is measured instead.
    fonts-ipafont-gothic fonts-wine
)
# --window: also what showing the window program needs (an X server without
# a screen, and screenshots).
if [[ ${1:-} == --window ]]; then
    packages+=(xvfb xauth x11-apps x11-utils imagemagick)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
((${#missing[@]} == 0)) && exit 0

echo "install-deps: installing ${missing[*]}" >&2
as_root=()
if ((EUID != 0)); then
    if command -v sudo >/dev/null; then
        as_root=(sudo)
    else
        echo "install-deps: missing packages and no root rights: ${missing[*]}" >&2
        exit 1
    fi
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q </dev/null
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
