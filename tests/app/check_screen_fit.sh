#!/usr/bin/env bash
# check_screen_fit.sh PROGRAM: starts PROGRAM at a scale of 2 on a 1366x768 X server of its own,
# with real fonts (the screenless platform of the other tests measures text smaller), and checks
# that the main window and Qt's own file chooser (Ctrl+O; no platform theme offers another here)
# lie wholly on the screen with room above them for a title bar. Skipped, saying why, where no X
# server can start.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "check_screen_fit: $*" >&2; exit 1; }
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/packages-test.txt lists its package)"
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

source "$here/xvfb.sh"
screen_width=1366 screen_height=768
unset WAYLAND_DISPLAY QT_QPA_PLATFORMTHEME
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 QT_ACCESSIBILITY=0
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# Wholly on the screen: without a window manager there is no frame, and the window lies where its
# frame would begin, so its top is at least as far from the screen's as a title bar takes.
expect_on_screen() {
  local name=$1 window=$2
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$window")"
  ((X >= 0 && Y >= 0 && X + WIDTH <= screen_width && Y + HEIGHT <= screen_height)) ||
    fail "$name at $X,$Y size ${WIDTH}x$HEIGHT is not wholly on the ${screen_width}x$screen_height screen"
  ((screen_height - (Y + HEIGHT) + Y >= 40)) || fail "$name leaves no room for a title bar (at $Y, ${HEIGHT} high)"
  echo "check_screen_fit: $name at $X,$Y size ${WIDTH}x$HEIGHT"
}

for attempt in 1 2 3; do
  start_display "$work" "${screen_width}x$screen_height"
  "$program" >"$work/program.log" 2>&1 &
  pids+=($!)
  main=$(wait_for_window Quorlis)
  [[ -z $main ]] || break
  display_answers && fail "the program's window did not show: $(cat "$work/program.log")"
  echo "check_screen_fit: the X server $DISPLAY went away (attempt $attempt): starting again"
done
[[ -n $main ]] || fail "no X server stayed up: $(cat "$work/program.log")"
sleep 1
expect_on_screen "the main window" "$main"

xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
xdotool key ctrl+o
chooser=$(wait_for_window Import)
[[ -n $chooser ]] || fail "Ctrl+O opened no chooser titled Import"
sleep 1
expect_on_screen "the Import chooser" "$chooser"
