#!/usr/bin/env bash
# The test command: installs what is missing, builds the native tree and the
# Windows tree, runs the native unit tests and the Wine tests, and exits
# non-zero when any test fails.
#   TOVIMO_BUILD_ROOT  where the trees go (default: build/ in the sources)
#   TOVIMO_JOBS        parallel build jobs (default 2)
set -euo pipefail
root=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
source "$root/scripts/build-lib.sh"

started=$SECONDS
"$root/scripts/install-deps.sh"

echo "=== building the native tree ($native_dir)"
build_native
echo "=== building the Windows tree ($windows_dir)"
build_windows
built=$SECONDS

logs=$build_root/test-logs
mkdir -p "$logs"

echo "=== native tests"
native_rc=0
ctest --test-dir "$native_dir" --output-on-failure 2>&1 | tee "$logs/native.log" || native_rc=$?

echo "=== Wine tests"
wine_rc=0
"$root/scripts/wine-session" "$windows_dir" \
    ctest --test-dir "$windows_dir" --output-on-failure 2>&1 | tee "$logs/wine.log" || wine_rc=$?

summary() {
    grep -E 'tests passed|tests failed|\(Failed\)|\(Timeout\)|\*\*\*|Not Run' "$1" || echo "(no CTest summary: see $1)"
}
echo
echo "=== summary (build $((built - started)) s, tests $((SECONDS - built)) s)"
echo "native: $(summary "$logs/native.log" | paste -sd ';' -)"
echo "wine:   $(summary "$logs/wine.log" | paste -sd ';' -)"

if ((native_rc != 0 || wine_rc != 0)); then
    echo "FAILED (native exit $native_rc, wine exit $wine_rc)"
    exit 1
fi
echo "all tests passed"
