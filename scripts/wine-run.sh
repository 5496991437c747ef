#!/usr/bin/env bash
# wine-run.sh BITS PREFIX PROGRAM [ARGS...]: runs a Windows program under Wine (32- or 64-bit, as
# BITS says) in the private, headless prefix PREFIX (made by setup_wine_prefix in windows-env.sh),
# bounded in time. Wine's output goes to a file that is shown afterwards: a Wine process that
# outlives the program (the server, the desktop) then never holds the caller's pipes open. The
# status is the program's; a time-out or a Wine that dies of a signal is said as well.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/windows-env.sh"
bits=$1
export_wine_env "$2" "$bits"
shift 2
output=$(mktemp)
trap 'rm -f "$output"' EXIT
timeout 120 "$(wine_loader "$bits")" "$@" </dev/null >"$output" 2>&1
status=$?
cat "$output"
if ((status == 124)); then
  echo "wine-run: $1 did not end within 120 seconds and was stopped" >&2
elif ((status > 128)); then
  echo "wine-run: Wine ended by signal $((status - 128)) while running $1" >&2
fi
exit "$status"
