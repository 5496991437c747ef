#!/usr/bin/env bash
# test-windows.sh [DIR]: cross-builds for Windows (build-windows.sh) and runs the tests under Wine,
# headless, in the private prefix DIR/wine-prefix. Wine's own processes are started detached from
# our pipes before ctest, and the server is shut down afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
dir=${1:-build-windows}
case $dir in /*) ;; *) dir=$root/$dir ;; esac
./scripts/build-windows.sh "$dir"
source scripts/windows-env.sh
setup_wine_prefix "$dir/wine-prefix"
status=0
ctest --test-dir "$dir" --output-on-failure --timeout 120 -j2 </dev/null || status=$?
timeout 60 wineserver -k </dev/null >/dev/null 2>&1 || true
exit "$status"
