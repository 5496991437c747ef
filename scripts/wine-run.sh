#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM [ARGS...]: runs a Windows program under Wine in the private, headless
# prefix PREFIX (made by setup_wine_prefix in windows-env.sh), bounded in time. Wine's output goes
# to a file that is shown afterwards: a Wine process that outlives the program (the server, the
# desktop) then never holds the caller's pipes open.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/windows-env.sh"
export_wine_env "$1"
shift
output=$(mktemp)
trap 'rm -f "$output"' EXIT
timeout 120 wine "$@" </dev/null >"$output" 2>&1
status=$?
cat "$output"
exit "$status"
