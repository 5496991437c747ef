#!/usr/bin/env bash
# screenshot-windows.sh [DIR] [DPI]: takes docs/windows-main.png, Quorlis.exe (built by
# build-windows.sh into DIR) running under Wine on a virtual X server with docs/CableList.ini
# imported. With DPI (Wine's LogPixels: 144 is a scale of 150 %, 192 of 200 %) the screen has that
# resolution and the picture is docs/windows-main-PERCENT.png. The parameter dialog at the same
# resolution goes to DIR/screenshots/ to be looked at. Uses a prefix of its own for each resolution,
# DIR/wine-screenshot[-DPI], with Wine's X11 graphics driver.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
dir=${1:-build-windows}
dpi=${2:-96}
case $dir in /*) ;; *) dir=$root/$dir ;; esac
[[ $dpi =~ ^[0-9]+$ ]] && ((dpi >= 96)) || { echo "usage: screenshot-windows.sh [DIR] [DPI of 96 or more]" >&2; exit 2; }
source scripts/errors.sh
source scripts/windows-env.sh
# 32-bit Wine, a virtual X server, input and capture tools, and the fonts Wine draws window
# captions with.
install_windows_packages $(wine_packages 32) xvfb xdotool imagemagick x11-apps fonts-wine
suffix=
((dpi == 96)) || suffix=-$dpi
export WINEPREFIX=$dir/wine-screenshot$suffix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=:97
# Room for the window at any resolution asked for.
desktop_width=$((800 * dpi / 96)) desktop_height=$((720 * dpi / 96))
Xvfb "$display" -screen 0 "$((desktop_width + 100))x$((desktop_height + 100))x24" </dev/null >/dev/null 2>&1 &
xvfb=$!
trap 'timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
if [[ ! -f $WINEPREFIX/.quorlis-ready ]]; then
  timeout 600 wineboot -i </dev/null >/dev/null 2>&1 || true
  timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  touch "$WINEPREFIX/.quorlis-ready"
fi
for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
  timeout 60 wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
done
timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
cp docs/CableList.ini "$WINEPREFIX/drive_c/CableList.ini"
cp "$dir/app/Quorlis.exe" "$WINEPREFIX/drive_c/Quorlis.exe"
# The sample is named on the command line, so it is imported as the window opens.
timeout 120 wine explorer /desktop=Quorlis,${desktop_width}x$desktop_height 'C:\Quorlis.exe' 'C:\CableList.ini' \
  </dev/null >/dev/null 2>&1 &
sleep 10
# The X server has no window manager: the Wine desktop is given the keyboard by hand. The picture
# is the desktop cut down to the window on it (the desktop's plain background trimmed away).
desktop=$(xdotool search --name 'Wine desktop' | head -n1)
xdotool windowfocus --sync "$desktop"
# The parameter dialog of the selected row first (Tab to the list, F2), to look at; closing it
# leaves the main window active, and Shift+Tab takes the focus back to Import.
mkdir -p "$dir/screenshots"
xdotool key Tab Tab F2
sleep 3
import -window "$desktop" -trim +repage "$dir/screenshots/parameter-dialog-$dpi.png"
echo "wrote $dir/screenshots/parameter-dialog-$dpi.png"
xdotool key Escape
sleep 1
xdotool key shift+Tab shift+Tab
sleep 2
picture=docs/windows-main.png
((dpi == 96)) || picture=docs/windows-main-$((dpi * 100 / 96)).png
import -window "$desktop" -trim +repage "$root/$picture"
echo "wrote $picture"
