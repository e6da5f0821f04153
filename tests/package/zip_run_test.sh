#!/usr/bin/env bash
# The zip as a user gets it: unpacked into an empty folder, it holds just the
# files it should, and TovimoCmd run from there, with the settings file of
# the zip as it is, converts a drawing. AutoCAD is the stand-in, started
# through the association of Drawing1.dwg, which the user would have saved
# from their own AutoCAD (here the stand-in's own). The stand-in shows its
# startup dialog, as AutoCAD does, and Pelkadu of the zip presses it.
#   zip_run_test.sh <sources> <windows build tree> <zip>
set -uo pipefail
src=$1 build=$2 zip=$3
expected="Pelkadu.exe
Tovimohelp.html
TovimoCmd.exe
tovimo.ini
Tovimo.exe"

work=$build/zip-run
rm -rf "$work"
mkdir -p "$work/app" "$work/図面"
unzip -q "$zip" -d "$work/app" || { echo "FAIL: cannot unpack $zip"; exit 1; }
found=$(cd "$work/app" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort)
want=$(LC_ALL=C sort <<<"$expected")
if [[ $found != "$want" ]]; then
    echo "FAIL: the zip holds"; echo "$found"; echo "instead of"; echo "$want"
    exit 1
fi

cp "$build/bin/Drawing1.dwg" "$work/app/"
cp "$src/samples/dwg/plan-1F.dwg" "$work/図面/"
# Under Wine the Unix root is drive Z:.
winpath() { local p=Z:$1; echo "${p//\//\\}"; }
drawings=$(winpath "$work/図面")
export STANDIN_ACAD_OPTIONS="/startup /log:$(winpath "$work/acad.log")"
TOVIMO_BUILD_DIR=$build "$src/scripts/wine-run" "$work/app/TovimoCmd.exe" dxf "$drawings" \
    >"$work/out.txt" 2>"$work/err.txt"
rc=$?
iconv -f CP932 -t UTF-8 "$work/out.txt" 2>/dev/null
iconv -f CP932 -t UTF-8 "$work/err.txt" 2>/dev/null
if ((rc != 0)); then
    echo "FAIL: TovimoCmd ended with exit code $rc"
    exit 1
fi
result=$work/図面/plan-1F.dxf
if ! grep -q '^FORMAT DXF' "$result" 2>/dev/null; then
    echo "FAIL: no DXF result at $result"
    exit 1
fi
if ! grep -q pressed "$work/acad.log"; then
    echo "FAIL: the startup dialog was not pressed (Pelkadu of the zip)"
    exit 1
fi
echo "the unpacked TovimoCmd converted $result"
rm -rf "$work"
