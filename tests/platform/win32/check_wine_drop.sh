#!/usr/bin/env bash
# check_wine_drop.sh PROGRAM BITS PREFIX: starts the Windows PROGRAM under Wine (BITS 32 or 64) with
# its X11 graphics driver on an X server of its own, in the Wine prefix PREFIX (made here once),
# drags a cable list onto its window from a GTK drag source with Shift held (a move, as file
# managers propose it), and checks that the window answered with a copy, that the source still has
# its file, and that the list was imported (exported again through Ctrl+S, it is the same list).
# Skipped, saying why, where no X server can start.
set -euo pipefail
program=$1 bits=$2 prefix=$3
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
fail() { echo "check_wine_drop: $*" >&2; exit 1; }
for tool in Xvfb xdotool /usr/bin/python3; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (test-windows.sh installs its package)"
done
source "$root/scripts/windows-env.sh"
source "$root/tests/app/xvfb.sh"
source "$root/tests/app/drop.sh"
export_wine_env "$prefix" "$bits"
wine=$(wine_loader "$bits")

work=$(mktemp -d)
pids=()
cleanup() {
  timeout 60 "${WINESERVER:-wineserver}" -k </dev/null >/dev/null 2>&1 || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

start_display "$work" 1280x800
export GDK_BACKEND=x11 NO_AT_BRIDGE=1
if [[ ! -f $prefix/.quorlis-ready ]]; then
  mkdir -p "$prefix"
  timeout 600 "$wine" wineboot -i </dev/null >"$work/wineboot.log" 2>&1 || true
  timeout 60 "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    </dev/null >>"$work/wineboot.log" 2>&1 || true
  timeout 600 "${WINESERVER:-wineserver}" -w </dev/null >>"$work/wineboot.log" 2>&1 || true
  [[ -f $prefix/system.reg ]] || fail "making the Wine prefix $prefix failed: $(tail -5 "$work/wineboot.log")"
  touch "$prefix/.quorlis-ready"
fi

list=$work/CableList.ini
cp "$root/docs/CableList.ini" "$list"
cp "$list" "$work/original"
timeout 120 "$wine" "$program" </dev/null >"$work/program.log" 2>&1 &
pids+=($!)
/usr/bin/python3 "$root/tests/app/drag_source.py" "$list" "$work/report" >"$work/source.log" 2>&1 &
pids+=($!)
window=
for _ in $(seq 60); do
  window=$(wait_for_window Quorlis)
  [[ -n $window ]] && break
done
[[ -n $window ]] || fail "the program's window did not show: $(cat "$work/program.log")"
for _ in $(seq 50); do [[ -s $work/report ]] && break; sleep 0.1; done
[[ -s $work/report ]] || fail "the drag source did not start: $(cat "$work/source.log")"
sleep 1

drag_onto_window "$window" 0.5
expect_dropped_as_copy "$work/report" "$list" "$work/original"

# Imported: Export (Ctrl+S, only enabled once a list is in) writes the same list again. Wine shows
# the machine's root as drive Z:.
sleep 1
xdotool windowfocus "$window"
sleep 0.5
xdotool key ctrl+s
chooser=$(wait_for_window Export)
[[ -n $chooser ]] || fail "Ctrl+S opened no Export chooser: the drop imported nothing"
sleep 1
xdotool type --delay 30 "Z:${work//\//\\}\\exported.ini"
xdotool key Return
for _ in $(seq 50); do [[ -s $work/exported.ini ]] && break; sleep 0.1; done
cmp -s "$work/exported.ini" "$work/original" || fail "the exported list is not the dropped one"
echo "check_wine_drop: the drop proposed as a move was answered as a copy, the file stays, and the list was imported"
