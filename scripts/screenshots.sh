#!/usr/bin/env bash
# Takes the README's screenshots from the real program: starts it on a private X server (Xvfb) with
# a small window manager, imports the sample list docs/CableList.ini through the file chooser,
# opens the list's context menu and a row in the parameter dialog, and saves docs/main-window.png,
# docs/context-menu.png and docs/parameter-dialog.png.
# Needs the program built, by the start command in build-app/ or by the test command in build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=
for candidate in "$root/build-app/app/quorlis" "$root/build/app/quorlis"; do
  [[ -x $candidate ]] && { program=$candidate; break; }
done
[[ -n $program ]] || { echo "screenshots: build the program first (./scripts/start.sh or ./scripts/test.sh)" >&2; exit 1; }

tools=(xvfb xdotool imagemagick openbox x11-utils)
missing=()
for pkg in "${tools[@]}"; do
  [[ $(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true) == installed ]] || missing+=("$pkg")
done
if ((${#missing[@]})); then
  sudo_cmd=(); ((EUID == 0)) || sudo_cmd=(sudo env DEBIAN_FRONTEND=noninteractive)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

work=$(mktemp -d)
display=:$((90 + RANDOM % 9))
cleanup() { kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"; }
pids=()
trap cleanup EXIT

cp "$root/docs/CableList.ini" "$work/CableList.ini"

export DISPLAY=$display XDG_CONFIG_HOME=$work XDG_RUNTIME_DIR=$work
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 & pids+=($!)
sleep 1
openbox >/dev/null 2>&1 & pids+=($!)
sleep 1
(cd "$work" && exec "$program") >/dev/null 2>&1 & pids+=($!)

# Waits for a window whose title is exactly $1 and prints its id.
wait_window() {
  local id
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) && [[ -n $id ]] && { echo "$id"; return; }
    sleep 0.2
  done
  echo "screenshots: no window '$1'" >&2; return 1
}
# Presses keys in the window $1.
keys() { local id=$1; shift; xdotool windowactivate --sync "$id" key --delay 100 "$@"; sleep 0.5; }
# Saves the window $1 with its frame as docs/$2.
shoot() { import -frame -window "$(xdotool getwindowgeometry "$1" >/dev/null; echo "$1")" "$root/docs/$2"; }

mkdir -p "$root/docs"
main=$(wait_window Quorlis)
keys "$main" Return                      # Import, which has the focus at start
keys "$(wait_window Open)" Return        # the chooser offers CableList.ini
keys "$main" Tab Tab Up Up               # into the list; select the third row
sleep 0.5
shoot "$main" main-window.png
keys "$main" shift+F10                   # the context menu, over the list
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$main")"
import -window root -crop "$((WIDTH + 40))x$((HEIGHT + 55))+$((X - 20))+$((Y - 45))" +repage "$root/docs/context-menu.png"
keys "$main" Escape
keys "$main" Tab Return                  # Edit
dialog=$(wait_window "Cable Parameter Edit Dialog")
keys "$dialog" Tab Tab Tab Tab Tab 2 4 0 0     # Frequency: Tab selects its text
shoot "$dialog" parameter-dialog.png
keys "$dialog" Escape
echo "screenshots: docs/main-window.png docs/context-menu.png docs/parameter-dialog.png"
