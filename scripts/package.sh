#!/usr/bin/env bash
# Builds the Windows tree and writes build/dist/Tovimo-1.90.zip: the zip that
# users unpack into a folder of their own and run beside their AutoCAD. It
# holds Tovimo.exe, TovimoCmd.exe, Pelkadu.exe, Tovimohelp.html and a
# tovimo.ini with both macros and the default settings; nothing else (no
# stand-in, no tests, no Drawing1.dwg).
#   TOVIMO_BUILD_ROOT, TOVIMO_JOBS as for scripts/test.sh
set -euo pipefail
root=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
source "$root/scripts/build-lib.sh"

"$root/scripts/install-deps.sh"
echo "=== building the Windows tree ($windows_dir)"
build_windows

built=$windows_dir/dist/Tovimo-1.90.zip
dist=$build_root/dist
required=(Tovimo.exe TovimoCmd.exe Pelkadu.exe Tovimohelp.html tovimo.ini)

if [[ ! -f $built ]]; then
    echo "package: the build made no $built" >&2
    exit 1
fi
content=$(unzip -Z1 "$built" | LC_ALL=C sort)
expected=$(printf '%s\n' "${required[@]}" | LC_ALL=C sort)
if [[ $content != "$expected" ]]; then
    echo "package: $built holds:" >&2
    echo "$content" >&2
    echo "package: it should hold exactly:" >&2
    echo "$expected" >&2
    exit 1
fi

mkdir -p "$dist"
cp "$built" "$dist/Tovimo-1.90.zip"
echo "=== $dist/Tovimo-1.90.zip"
unzip -l "$dist/Tovimo-1.90.zip"
