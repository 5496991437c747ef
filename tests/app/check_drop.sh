#!/usr/bin/env bash
# check_drop.sh PROGRAM: starts PROGRAM on a virtual X server of its own, drags a cable list onto
# its window from a GTK drag source with Shift held (a move, as file managers propose it), and
# checks that the window answered with a copy, that the source was not asked to delete its file
# and still has it, and that the list was imported (exported again through Ctrl+S, it is the same
# list). On the way it checks that the window's class is the desktop entry's StartupWMClass.
# Skipped, saying why, where no X server can start.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "check_drop: $*" >&2; exit 1; }
for tool in Xvfb xdotool xprop /usr/bin/python3; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/packages-test.txt lists its package)"
done
/usr/bin/python3 -c 'import gi; gi.require_version("Gtk", "3.0"); from gi.repository import Gtk' 2>/dev/null ||
  fail "GTK 3 for Python is missing (python3-gi, gir1.2-gtk-3.0)"

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [[ -n ${QUORLIS_KEEP_WORK:-} ]] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

source "$here/xvfb.sh"
source "$here/drop.sh"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=0 NO_AT_BRIDGE=1 GDK_BACKEND=x11
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

mkdir -p "$work/files"
list=$work/files/CableList.ini
printf '%s' $'/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=2\nCableName1 = RG58\nVelocity1 = 0.66\nCableLoss1 = 0.5\nFrequency1 = 100\nCableName2 = LMR400\nVelocity2 = 0.85\nCableLoss2 = 0.2\nFrequency2 = 900\n' >"$list"
cp "$list" "$work/original"

# Both windows shown: the source's report says ready, the program's window is mapped.
for attempt in 1 2 3; do
  start_display "$work" 1280x800
  rm -f "$work/report"
  "$program" >"$work/program.log" 2>&1 &
  pids+=($!)
  /usr/bin/python3 "$here/drag_source.py" "$list" "$work/report" >"$work/source.log" 2>&1 &
  pids+=($!)
  window=$(wait_for_window Quorlis)
  for _ in $(seq 50); do [[ -s $work/report ]] && break; sleep 0.1; done
  [[ -n $window && -s $work/report ]] && break
  display_answers && break
  echo "check_drop: the X server $DISPLAY went away (attempt $attempt): starting again"
done
[[ -n $window ]] || fail "the program's window did not show: $(cat "$work/program.log")"
[[ -s $work/report ]] || fail "the drag source did not start: $(cat "$work/source.log")"
# Docks group the window with its launcher by its class, which the desktop entry names.
class=$(xprop -id "$window" WM_CLASS | sed -n 's/.*= "[^"]*", "\([^"]*\)"/\1/p')
grep -qxF "StartupWMClass=$class" "$here/../../dist/org.quorlis.quorlis.desktop" ||
  fail "the window's class '$class' is not the desktop entry's StartupWMClass"
sleep 0.5

drag_onto_window "$window" 0.3
expect_dropped_as_copy "$work/report" "$list" "$work/original"

# Imported: Export (Ctrl+S, only enabled once a list is in) writes the same list again.
sleep 1
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key ctrl+s
chooser=
for _ in $(seq 50); do
  chooser=$(xdotool search --onlyvisible --name '^Export$' 2>/dev/null | head -n1 || true)
  [[ -n $chooser ]] && break
  sleep 0.1
done
[[ -n $chooser ]] || fail "Ctrl+S opened no Export chooser: the drop imported nothing"
sleep 0.5
xdotool windowfocus "$chooser" 2>/dev/null || true
xdotool key ctrl+a
xdotool type --delay 20 "$work/files/exported.ini"
xdotool key Return
for _ in $(seq 50); do [[ -s $work/files/exported.ini ]] && break; sleep 0.1; done
cmp -s "$work/files/exported.ini" "$work/original" || fail "the exported list is not the dropped one"
echo "check_drop: the drop proposed as a move was answered as a copy, the file stays, and the list was imported"
