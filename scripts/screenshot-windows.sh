#!/usr/bin/env bash
# screenshot-windows.sh [DIR]: takes docs/windows-main.png, Quorlis.exe (built by build-windows.sh
# into DIR) running under Wine on a virtual X server with docs/CableList.ini imported. Uses a
# prefix of its own, DIR/wine-screenshot, with Wine's X11 graphics driver.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
dir=${1:-build-windows}
case $dir in /*) ;; *) dir=$root/$dir ;; esac
source scripts/errors.sh
source scripts/windows-env.sh
# 32-bit Wine, a virtual X server, input and capture tools, and the fonts Wine draws window
# captions with.
install_windows_packages $(wine_packages 32) xvfb xdotool imagemagick x11-apps fonts-wine
export WINEPREFIX=$dir/wine-screenshot WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=:97
Xvfb "$display" -screen 0 1280x1024x24 </dev/null >/dev/null 2>&1 &
xvfb=$!
trap 'timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
if [[ ! -f $WINEPREFIX/.quorlis-ready ]]; then
  timeout 600 wineboot -i </dev/null >/dev/null 2>&1 || true
  timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  touch "$WINEPREFIX/.quorlis-ready"
fi
cp docs/CableList.ini "$WINEPREFIX/drive_c/CableList.ini"
cp "$dir/app/Quorlis.exe" "$WINEPREFIX/drive_c/Quorlis.exe"
timeout 120 wine explorer /desktop=Quorlis,800x720 'C:\Quorlis.exe' </dev/null >/dev/null 2>&1 &
sleep 8
# The X server has no window manager: the Wine desktop is given the keyboard by hand. A click on
# Import (the window is centred on the desktop, at the screen's top left); the chooser that opens
# takes the sample's path.
xdotool search --name 'Wine desktop' windowfocus --sync
xdotool mousemove 175 120 click 1
sleep 3
xdotool type --delay 50 'C:\CableList.ini'
xdotool key Return
sleep 3
import -window root -crop 678x616+60+52 +repage "$root/docs/windows-main.png"
echo "wrote docs/windows-main.png"
