#!/usr/bin/env bash
# check_mime.sh ROOT: with the program installed under ROOT/usr (a staged install or an unpacked
# .deb), builds the file-type and application databases there as the system's triggers would, and
# checks through xdg-mime that cable lists get the cable-list type, by name (CableList.ini in any
# case) or by their first line, that a name pattern such as *.txt still decides alone, and that the
# default application for the type is the program's desktop entry. Each desktop's way of asking is
# tried where its tool is installed (gio for GNOME, mimetype elsewhere).
set -euo pipefail
root=$(cd "$1" && pwd)
share=$root/usr/share
type=application/x-quorlis-cable-list
entry=org.quorlis.quorlis.desktop
fail() { echo "check_mime: $*" >&2; exit 1; }

# Like the other checks a distribution runs, it runs where its tools are installed (the test
# command installs them), and says so where they are not.
for tool in xdg-mime:xdg-utils update-mime-database:shared-mime-info update-desktop-database:desktop-file-utils; do
  if ! command -v "${tool%%:*}" >/dev/null; then
    echo "check_mime: ${tool%%:*} is not installed: the file type is not checked (package ${tool#*:})"
    exit 0
  fi
done
[[ -f $share/mime/packages/quorlis.xml ]] || fail "no $share/mime/packages/quorlis.xml"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Only the installed tree and the system's own databases count: no user settings.
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CONFIG_DIRS=$work/etc
export XDG_DATA_DIRS=$share:/usr/share
update-mime-database "$share/mime"
update-desktop-database "$share/applications"
mkdir -p "$HOME" "$work/files"
files=$work/files
list=$'/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=1\nCableName1 = RG58\nVelocity1 = 0.66\nCableLoss1 = 0.5\nFrequency1 = 100\n'
printf '%s' "$list" >"$files/CableList.ini"
printf '%s' "$list" >"$files/Backup-2026"
printf '%s' "$list" >"$files/site-b.ini"
printf '%s' "$list" >"$files/notes.txt"
printf 'plain words\n' >"$files/CABLELIST.INI"
printf '/* a C comment */\nint x;\n' >"$files/other"

declare -A expected=(
  [CableList.ini]=$type [CABLELIST.INI]=$type [Backup-2026]=$type [site-b.ini]=$type
  [notes.txt]=text/plain [other]=text/x-csrc)

ways=0
check_way() {
  local name=$1; shift
  ways=$((ways + 1))
  local file got
  for file in "${!expected[@]}"; do
    got=$(env "$@" xdg-mime query filetype "$files/$file" 2>/dev/null | head -n1)
    [[ $got == "${expected[$file]}" ]] || fail "$name: $file is '$got', not ${expected[$file]}"
  done
  got=$(env "$@" xdg-mime query default "$type" 2>/dev/null)
  [[ $got == "$entry" ]] || fail "$name: the default application for $type is '$got', not $entry"
  echo "check_mime: $name: the file types and the default application are right"
}
if command -v gio >/dev/null; then
  check_way "GNOME (gio)" XDG_CURRENT_DESKTOP=GNOME
else
  echo "check_mime: gio is not installed: the GNOME way is not checked"
fi
if command -v mimetype >/dev/null; then
  check_way "other desktops (mimetype)" XDG_CURRENT_DESKTOP=X-Generic
else
  echo "check_mime: mimetype is not installed: the generic way is not checked"
fi
((ways > 0)) || echo "check_mime: neither gio nor mimetype is installed: the file type is not checked"
