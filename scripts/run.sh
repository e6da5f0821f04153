#!/usr/bin/env bash
# The main-job command: builds the Windows tree and lets TovimoCmd convert a
# copy of samples/ under Wine, driving the stand-in AutoCAD (started through
# the "Drawing1.dwg" association, its startup dialog pressed by Pelkadu):
# the DWG drawings to DXF, then the DXF drawings to DWG. Then it lists the
# files of the copy, results included. Every process it starts is ended.
#   TOVIMO_BUILD_ROOT, TOVIMO_JOBS as for scripts/test.sh
set -euo pipefail
root=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
source "$root/scripts/build-lib.sh"

"$root/scripts/install-deps.sh"
echo "=== building the Windows tree ($windows_dir)"
build_windows

for program in TovimoCmd.exe Pelkadu.exe standin-acad.exe Drawing1.dwg; do
    if [[ ! -e $windows_dir/bin/$program ]]; then
        echo "run: $windows_dir/bin/$program was not built" >&2
        exit 1
    fi
done

# A fresh copy of the samples: results land beside the drawings, and the
# sources stay untouched.
work=$windows_dir/run-samples
rm -rf "$work"
mkdir -p "$work"
cp -r "$root/samples/dwg" "$root/samples/dxf" "$root/samples/tovimo.ini" "$work/"
winpath() { local p=Z:$1; echo "${p//\//\\}"; }

log=$work/standin-acad.log
export STANDIN_ACAD_OPTIONS=${STANDIN_ACAD_OPTIONS-/startup /log:$(winpath "$log")}

# One Wine session for both runs; TovimoCmd's exit codes are kept apart.
codes=$work/exit-codes
convert_both() {
    local cmd=$windows_dir/bin/TovimoCmd.exe ini
    ini=$(winpath "$work/tovimo.ini")
    for run in "dxf $(winpath "$work/dwg")" "dwg $(winpath "$work/dxf")"; do
        set -- $run
        echo "=== TovimoCmd $1 /s /ini $ini $2"
        local rc=0
        TOVIMO_WINE_TIMEOUT=600 "$root/scripts/wine-run" "$cmd" "$1" /s /ini "$ini" "$2" || rc=$?
        echo "$1 $rc" >>"$codes"
        echo "=== exit code $rc"
    done
}
export -f convert_both winpath
export root windows_dir work codes
# The programs write code page 932; the terminal reads UTF-8.
"$root/scripts/wine-session" "$windows_dir" bash -c convert_both 2>&1 | iconv -f CP932 -t UTF-8 -c

echo "=== the files of $work (results are the .dxf under dwg/ and the .dwg under dxf/)"
(cd "$work" && find dwg dxf -type f -printf '%6s  %p\n' | sort -k2)
echo "=== what AutoCAD was sent: $log"

# Exit codes 0 (all converted) and 1 (some drawings skipped, as the samples
# mean some to be) are a run that worked.
status=0
while read -r direction rc; do
    ((rc <= 1)) || { echo "run: TovimoCmd $direction ended with exit code $rc" >&2; status=1; }
done <"$codes"
exit "$status"
