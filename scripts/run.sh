#!/usr/bin/env bash
# The main-job command: builds the Windows tree, prepares the Wine prefix
# and lets tovimo-demo.exe drive the stand-in AutoCAD under Wine: start
# (with Pelkadu pressing the startup dialog), a system variable set and read
# back, close. Every process it starts is ended when it is over.
#   TOVIMO_BUILD_ROOT, TOVIMO_JOBS as for scripts/test.sh
set -euo pipefail
root=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
source "$root/scripts/build-lib.sh"

"$root/scripts/install-deps.sh"
echo "=== building the Windows tree ($windows_dir)"
build_windows

for program in tovimo-demo.exe Pelkadu.exe standin-acad.exe Drawing1.dwg; do
    if [[ ! -e $windows_dir/bin/$program ]]; then
        echo "run: $windows_dir/bin/$program was not built" >&2
        exit 1
    fi
done

# The stand-in shows its startup dialog, for Pelkadu to press, and logs what
# it was sent. STANDIN_ACAD_OPTIONS set by the caller wins.
log=$windows_dir/demo-acad.log
rm -f "$log"
export STANDIN_ACAD_OPTIONS=${STANDIN_ACAD_OPTIONS-/startup /log:Z:${log//\//\\}}

echo "=== tovimo-demo.exe under Wine"
# The programs write code page 932; the terminal reads UTF-8.
rc=0
"$root/scripts/wine-session" "$windows_dir" \
    env TOVIMO_WINE_TIMEOUT=120 "$root/scripts/wine-run" "$windows_dir/bin/tovimo-demo.exe" "$@" \
    2>&1 | iconv -f CP932 -t UTF-8 -c || rc=$?
if [[ -f $log ]]; then
    echo "=== what the stand-in AutoCAD saw ($log)"
    iconv -f CP932 -t UTF-8 -c "$log"
fi
echo "=== tovimo-demo.exe ended with exit code $rc"
exit "$rc"
