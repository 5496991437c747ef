# Sourced by the tests that run the real program on an X server of their own. start_display WORK
# SIZE starts Xvfb with one screen of SIZE (such as 1280x800) at a display number picked at random
# (Xvfb refuses a number that another server holds, and then another is tried), exports DISPLAY,
# and adds the server's process to the array pids (and to xvfb_pid). Where no server can start, it
# says why and exits with status 77, which CTest counts as skipped.

# Whether an X server holds display number $1: its lock file here, or its socket in the kernel's
# list, which a server in another root (a chroot) of this machine shares with us.
display_taken() {
  [[ -e /tmp/.X$1-lock ]] || grep -q "/tmp/.X11-unix/X$1\$" /proc/net/unix 2>/dev/null
}

start_display_once() {
  local work=$1 size=$2 number=$((200 + RANDOM % 700))
  while display_taken "$number"; do number=$((200 + RANDOM % 700)); done
  # -noreset: the server would otherwise reset when the last client (the readiness check) leaves,
  # refusing the program that connects at that moment.
  Xvfb ":$number" -screen 0 "${size}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  xvfb_pid=$!
  export DISPLAY=:$number
  for _ in $(seq 50); do
    kill -0 "${pids[-1]}" 2>/dev/null || return 1
    [[ -f /tmp/.X$number-lock && $(tr -d ' ' <"/tmp/.X$number-lock") == "${pids[-1]}" ]] &&
      timeout 10 xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

start_display() {
  local attempt
  for attempt in 1 2 3 4 5; do
    start_display_once "$1" "$2" && return 0
    kill "${pids[-1]}" 2>/dev/null || true
  done
  echo "$(basename "$0"): skipped: Xvfb could not start here: $(head -c 300 "$1/xvfb.log")"
  exit 77
}

# The id of the visible window named exactly title, waiting up to 10 seconds; empty if none.
wait_for_window() {
  local title=$1 window=
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n1 || true)
    [[ -n $window ]] && break
    sleep 0.1
  done
  echo "$window"
}

# Whether the server that start_display started still answers. On a busy machine another program's
# clean-up has been seen to take a test's server away; the tests then start again on a new one.
display_answers() {
  kill -0 "$xvfb_pid" 2>/dev/null && timeout 10 xdotool getdisplaygeometry >/dev/null 2>&1
}
