# Sourced by the drop checks of both programs: a file dragged from the GTK drag source
# (drag_source.py, its window at the top left) onto a program's window, and what the source
# reported. The caller defines fail.

# drag_onto_window WINDOW SETTLE: presses on the drag source with Shift held (a move, as file
# managers propose it), moves in small steps to the middle of WINDOW (a drag starts past a
# threshold), waits SETTLE seconds before and after the last step, and releases.
drag_onto_window() {
  local window=$1 settle=$2 WINDOW X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local target_x=$((X + WIDTH / 2)) target_y=$((Y + HEIGHT / 2))
  xdotool mousemove 60 40 keydown shift mousedown 1
  for step in $(seq 1 20); do
    xdotool mousemove $((60 + (target_x - 60) * step / 20)) $((40 + (target_y - 40) * step / 20))
    sleep 0.05
  done
  sleep "$settle"
  xdotool mousemove "$target_x" "$target_y"
  sleep "$settle"
  xdotool mouseup 1 keyup shift
}

# expect_dropped_as_copy REPORT LIST ORIGINAL: the source proposed a move, the window answered
# with a copy, the source was not asked to delete its file, and LIST is still ORIGINAL.
expect_dropped_as_copy() {
  local report_file=$1 list=$2 original=$3 report
  for _ in $(seq 50); do grep -q '^answered' "$report_file" && break; sleep 0.1; done
  report=$(cat "$report_file")
  grep -qx 'proposed move' <<<"$report" || fail "the drag did not propose a move, so it proves nothing: $report"
  grep -qx 'answered copy' <<<"$report" || fail "the window did not answer the drop with a copy: $report"
  ! grep -qx 'delete' <<<"$report" || fail "the source was asked to delete its file: $report"
  cmp -s "$list" "$original" || fail "the dropped file changed or went away"
}
