#!/usr/bin/env bash
# check_command_line.sh PROGRAM: the program's command line, run as a user would, with and without
# a display: --help and --version answer on standard output without one, a wrong command line gets
# one line and exit code 2, and a program that finds no display says so in one line and exits 1
# instead of aborting.
set -uo pipefail
program=$1
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
failures=0

# expect CODE STDOUT_PATTERN STDERR_PATTERN ENV... -- ARGS...: runs the program with the display
# variables removed and ENV set; checks the exit code, that standard output matches (grep -E; ""
# for empty) and that standard error is empty or exactly one line matching.
expect() {
  local code=$1 stdout=$2 stderr=$3; shift 3
  local env=()
  while [[ $1 != -- ]]; do env+=("$1"); shift; done
  shift
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${env[@]}" timeout 20 "$program" "$@" >"$out" 2>"$err"
  local got=$? why=()
  ((got == code)) || why+=("exit code $got, not $code")
  if [[ -z $stdout ]]; then [[ ! -s $out ]] || why+=("unexpected standard output"); else grep -qE -- "$stdout" "$out" || why+=("standard output lacks /$stdout/"); fi
  if [[ -z $stderr ]]; then
    [[ ! -s $err ]] || why+=("unexpected standard error")
  else
    [[ $(grep -cE -- "$stderr" "$err") == 1 && $(wc -l <"$err") == 1 ]] || why+=("standard error is not one line /$stderr/")
  fi
  if ((${#why[@]})); then
    echo "FAIL: ${env[*]} quorlis $*: ${why[*]}" >&2
    sed 's/^/  out: /' "$out" >&2
    sed 's/^/  err: /' "$err" >&2
    failures=$((failures + 1))
  fi
}

no_session='needs a graphical session \(DISPLAY or WAYLAND_DISPLAY\)'
expect 0 '^Usage: quorlis \[OPTION\] \[FILE\]$' '' -- --help
expect 0 '^  -h, --help ' '' -- -h
expect 0 '^quorlis 1\.0\.0\.1$' '' -- --version
expect 0 '^quorlis 1\.0\.0\.1$' '' -- CableList.ini --version
expect 0 '^Usage: ' '' QT_QPA_PLATFORM=xcb DISPLAY=:99 -- --help
expect 2 '' "^quorlis: unknown option '--bogus'" -- --bogus
expect 2 '' "^quorlis: unknown option '-platform'" -- -platform offscreen
expect 2 '' '^quorlis: only one FILE' -- one.ini two.ini
expect 1 '' "^quorlis: $no_session" --
expect 1 '' "^quorlis: $no_session" -- CableList.ini
expect 1 '' "^quorlis: $no_session" -- -- --bogus
expect 1 '' "^quorlis: $no_session" QT_QPA_PLATFORM=xcb --
expect 1 '' "^quorlis: $no_session" QT_QPA_PLATFORM='wayland;xcb' --
# A display that is named but cannot be opened: Qt's own warnings come first, then the program's line.
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:79 timeout 20 "$program" >"$out" 2>"$err"
code=$?
if ((code != 1)) || ! tail -1 "$err" | grep -qE "^quorlis: cannot open a display; it $no_session" ||
   grep -q 'Reinstalling' "$err"; then
  echo "FAIL: DISPLAY=:79 quorlis: exit code $code" >&2
  sed 's/^/  err: /' "$err" >&2
  failures=$((failures + 1))
fi
# A platform that needs no session starts the editor, which is still running when it is stopped.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen timeout 2 "$program" >"$out" 2>"$err"
code=$?
if ((code != 124)); then
  echo "FAIL: QT_QPA_PLATFORM=offscreen quorlis: ended with exit code $code" >&2
  sed 's/^/  err: /' "$err" >&2
  failures=$((failures + 1))
fi
((failures == 0))
