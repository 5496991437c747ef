#!/usr/bin/env bash
# setup.sh [program]: installs the Debian packages that are missing from scripts/packages.txt (what
# the editor needs to build and run) and, unless "program" is given, scripts/packages-test.txt
# (what the tests add). Silent when none is missing. Runs apt-get as root, or through sudo for
# another user.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/errors.sh"

lists=("$here/packages.txt")
case ${1:-} in
  program) ;;
  '') lists+=("$here/packages-test.txt") ;;
  *) echo "usage: setup.sh [program]" >&2; exit 2 ;;
esac

missing=()
while read -r pkg; do
  [[ -z $pkg || $pkg == \#* ]] && continue
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  [[ $status == installed ]] || missing+=("$pkg")
done < <(cat "${lists[@]}")
((${#missing[@]} == 0)) && exit 0

as_root=()
if ((EUID != 0)); then
  command -v sudo >/dev/null || { echo "setup: run as root or install sudo (missing: ${missing[*]})" >&2; exit 1; }
  as_root=(sudo env DEBIAN_FRONTEND=noninteractive)  # sudo drops the exported variable
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
hint="apt could not read the package lists: check the network and the sources in /etc/apt"
"${as_root[@]}" apt-get update -qq
hint="apt could not install the packages: its message is above; or install them by hand: apt-get install ${missing[*]}"
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
