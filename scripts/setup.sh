#!/usr/bin/env bash
# Installs the Debian packages in scripts/packages.txt that are missing. Silent when none is.
# Runs apt-get as root, or through sudo for another user.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/errors.sh"

missing=()
while read -r pkg; do
  [[ -z $pkg || $pkg == \#* ]] && continue
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  [[ $status == installed ]] || missing+=("$pkg")
done <"$here/packages.txt"
((${#missing[@]} == 0)) && exit 0

as_root=()
if ((EUID != 0)); then
  command -v sudo >/dev/null || { echo "setup: run as root or install sudo (missing: ${missing[*]})" >&2; exit 1; }
  as_root=(sudo)
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
hint="apt could not read the package lists: check the network and the sources in /etc/apt"
"${as_root[@]}" apt-get update -qq
hint="apt could not install the packages: its message is above; or install them by hand: apt-get install ${missing[*]}"
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
