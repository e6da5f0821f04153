#!/usr/bin/env bash
# The main-job command: builds the Windows tree and lets TovimoCmd convert a
# copy of samples/ under Wine, driving the stand-in AutoCAD (started through
# the "Drawing1.dwg" association, its startup dialog pressed by Pelkadu):
# the DWG drawings to DXF, then the DXF drawings to DWG. Then it lists the
# files of the copy, results included. Every process it starts is ended.
#   TOVIMO_BUILD_ROOT, TOVIMO_JOBS as for scripts/test.sh
#
#   scripts/run.sh --window
# instead starts the window program Tovimo.exe on a copy of the samples,
# with the stand-in AutoCAD. On a machine with a display it opens there for
# you to use. Without one it runs on Xvfb, presses "DXFで保存" itself and
# saves screenshots of the run to build/windows/screenshots/.
set -euo pipefail
root=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
source "$root/scripts/build-lib.sh"

if [[ ${1:-} == --window ]]; then
    source "$root/scripts/window-lib.sh"
    "$root/scripts/install-deps.sh" --window
    echo "=== building the Windows tree ($windows_dir)"
    build_windows
    work=$windows_dir/run-window
    rm -rf "$work"
    mkdir -p "$work"
    cp -r "$root/samples/dwg" "$work/"
    window_program_folder "$work/program" "/startup /cmddelay:200"
    shots=$windows_dir/screenshots
    interactive=0
    [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1 && interactive=1
    trap window_stop_display EXIT
    # Room for the stand-in AutoCAD's window and Tovimo's beside it.
    export TOVIMO_WINE_DESKTOP=1200x1000
    window_display 1300x1100
    window_run() {
        set -e
        window_fonts
        local tool="$windows_dir/bin/window-tool.exe" drawings="Z:${work//\//\\}\\dwg"
        if ((interactive)); then
            echo "=== Tovimo.exe is open on $TOVIMO_WINE_DISPLAY; close it to end"
            (cd "$work" && wine "$work/program/Tovimo.exe" "$drawings")
            return 0
        fi
        (cd "$work" && wine "$work/program/Tovimo.exe" "$drawings" >/dev/null 2>&1 &)
        wine "$tool" wait TForm1 60 >/dev/null
        sleep 1
        window_shot TForm1 "$shots/before.png"
        echo "=== pressing DXFで保存"
        WINDOW_SHOOT_END=1 window_run_and_shoot "$shots" ""
        wine "$tool" close TForm1
        wine "$tool" gone TForm1 15
    }
    export -f window_run window_shot window_fonts window_run_and_shoot
    export root windows_dir work shots interactive
    "$root/scripts/wine-session" "$windows_dir" bash -c window_run
    echo "=== the results beside the drawings of $work/dwg:"
    (cd "$work" && find dwg -type f -printf '%6s  %p\n' | sort -k2)
    ((interactive)) || echo "=== screenshots of the run: $shots"
    exit 0
fi

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
