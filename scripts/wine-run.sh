#!/usr/bin/env bash
# wine-run.sh BITS PREFIX PROGRAM [ARGS...]: runs a Windows program under Wine (32- or 64-bit, as
# BITS says) in the private, headless prefix PREFIX (made by setup_wine_prefix in windows-env.sh),
# bounded in time. Wine's output goes to a file that is shown afterwards: a Wine process that
# outlives the program (the server, the desktop) then never holds the caller's pipes open. The
# status is the program's; a time-out is said as well.
#
# A Windows program that crashes ends with an exception code, never with a signal: a signal means
# that Wine itself died, which now and then happens to it as a process ends. The program is then
# run once more, and the crash is noted in PREFIX.crashes for test-windows.sh to report.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/windows-env.sh"
bits=$1 prefix=$2
export_wine_env "$prefix" "$bits"
shift 2
output=$(mktemp)
trap 'rm -f "$output"' EXIT
for attempt in 1 2; do
  timeout 120 "$(wine_loader "$bits")" "$@" </dev/null >"$output" 2>&1
  status=$?
  ((status > 128 && attempt == 1)) || break
  echo "$(date '+%F %T') Wine died of signal $((status - 128)) running $* (run again)" >>"$prefix.crashes"
done
cat "$output"
if ((status == 124)); then
  echo "wine-run: $1 did not end within 120 seconds and was stopped" >&2
elif ((status > 128)); then
  echo "wine-run: Wine died of signal $((status - 128)) twice running $1" >&2
fi
exit "$status"
