#!/usr/bin/env bash
# The test command: installs what is missing, builds the native tree and the
# Windows tree, runs the native unit tests and the Wine tests, and exits
# non-zero when any test fails.
#   TOVIMO_BUILD_ROOT     where the trees go (default: build/ in the sources)
#   TOVIMO_JOBS           parallel build jobs (default 2)
#   TOVIMO_WINE_PREFIXES  Wine test programs run side by side, each in a
#                         Wine prefix of its own (default 4)
#
# The Wine tests mostly wait for other processes, so they run side by side,
# and beside them the native tree is built and tested at a low priority.
# The Wine prefixes are made while the Windows tree builds.
set -euo pipefail
root=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
source "$root/scripts/build-lib.sh"
source "$root/scripts/wine-lib.sh"
export TOVIMO_WINE_PREFIXES=${TOVIMO_WINE_PREFIXES:-4}

started=$SECONDS
"$root/scripts/install-deps.sh"

logs=$build_root/test-logs
mkdir -p "$logs"

# Jobs of their own process group, ended with everything they started when
# this command ends, fails or is interrupted.
background=()
wine_servers=0
stop_background() {
    local pid
    for pid in "${background[@]}"; do
        kill -TERM -- "-$pid" 2>/dev/null || true
    done
    for pid in "${background[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    background=()
    if ((wine_servers)); then
        (wine_env "$windows_dir" 2>/dev/null && wine_stop_prefixes) || true
    fi
}
trap stop_background EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP
in_background() {
    setsid "$@" &
    background+=("$!")
}

forget_foreign_tree "$windows_dir"
mkdir -p "$windows_dir"
wine_servers=1
echo "=== making the Wine prefixes in the background ($logs/wine-prefixes.log)"
prefixes_started=$(date +%s)
rm -f "$logs/wine-prefixes-ready"
in_background bash -c 'source "$1/scripts/wine-lib.sh" && wine_env "$2" 2>/dev/null &&
                       wine_prepare_prefixes && date +%s >"$3"' \
    prepare "$root" "$windows_dir" "$logs/wine-prefixes-ready" >"$logs/wine-prefixes.log" 2>&1 </dev/null
prefixes_job=$!

echo "=== building the Windows tree ($windows_dir)"
build_windows
windows_built=$SECONDS

prefixes_rc=0
wait "$prefixes_job" || prefixes_rc=$?
prefixes_ready=$(cat "$logs/wine-prefixes-ready" 2>/dev/null || date +%s)
cat "$logs/wine-prefixes.log"

echo "=== Wine tests, $TOVIMO_WINE_PREFIXES side by side, in the background ($logs/wine.log)"
wine_rc=0
wine_started=$(date +%s)
wine_ended=$logs/wine-ended
rm -f "$wine_ended"
# Appended to: a Wine program that opens its output anew must not write
# over what is there.
: >"$logs/wine.log"
if ((prefixes_rc == 0)); then
    in_background bash -c '"${@:2}"; rc=$?; date +%s >"$1"; exit $rc' wine "$wine_ended" \
        "$root/scripts/wine-session" "$windows_dir" \
        ctest --test-dir "$windows_dir" --output-on-failure -j "$TOVIMO_WINE_PREFIXES" \
        >>"$logs/wine.log" 2>&1 </dev/null
    wine_job=$!
else
    echo "the Wine prefixes could not be made" >"$logs/wine.log"
    wine_rc=$prefixes_rc
fi

echo "=== building the native tree ($native_dir), beside the Wine tests"
native_started=$SECONDS
nice -n 19 bash -c 'root=$1 && source "$root/scripts/build-lib.sh" && build_native' build "$root"
built=$SECONDS

echo "=== native tests"
native_rc=0
nice -n 19 ctest --test-dir "$native_dir" --output-on-failure 2>&1 | tee "$logs/native.log" || native_rc=$?
native_tested=$SECONDS

echo "=== Wine tests"
if ((prefixes_rc == 0)); then
    wait "$wine_job" || wine_rc=$?
fi
wine_tested=$(cat "$wine_ended" 2>/dev/null || date +%s)
cat "$logs/wine.log"

summary() {
    grep -E 'tests passed|tests failed|\(Failed\)|\(Timeout\)|\*\*\*|Not Run' "$1" || echo "(no CTest summary: see $1)"
}
echo
echo "=== phases: Windows tree $((windows_built - started)) s, the Wine prefixes made beside it in" \
    "$((prefixes_ready - prefixes_started)) s; Wine tests $((wine_tested - wine_started)) s, beside them" \
    "the native tree $((built - native_started)) s and its tests $((native_tested - built)) s"
echo "=== summary (build $((built - started)) s, tests $((SECONDS - built)) s)"
echo "native: $(summary "$logs/native.log" | paste -sd ';' -)"
echo "wine:   $(summary "$logs/wine.log" | paste -sd ';' -)"

if ((native_rc != 0 || wine_rc != 0)); then
    echo "FAILED (native exit $native_rc, wine exit $wine_rc)"
    exit 1
fi
echo "all tests passed"
