#!/usr/bin/env bash
# check_install.sh BUILD_DIR STAGE: installs the build under STAGE/usr as a package would, then
# checks that the program, its desktop entry, metainfo and icons are where desktops look, and that
# the desktop entry and metainfo pass their validators.
set -euo pipefail
build=$1
stage=$2
id=org.quorlis.Quorlis

rm -rf "$stage"
cmake --install "$build" --prefix "$stage/usr" >/dev/null
cd "$stage/usr"

expected=(bin/quorlis "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
          share/icons/hicolor/scalable/apps/quorlis.svg)
for size in 16 32 48 64 128 256; do expected+=("share/icons/hicolor/${size}x$size/apps/quorlis.png"); done
for file in "${expected[@]}"; do
  [[ -s $file ]] || { echo "not installed: $file" >&2; exit 1; }
done
[[ -x bin/quorlis ]] || { echo "bin/quorlis is not executable" >&2; exit 1; }

grep -qx 'Exec=quorlis %f' "share/applications/$id.desktop"
grep -qx 'Icon=quorlis' "share/applications/$id.desktop"

# Warnings count as failures too.
output=$(desktop-file-validate "share/applications/$id.desktop" 2>&1)
[[ -z $output ]] || { echo "$output" >&2; exit 1; }
appstreamcli validate --no-net "share/metainfo/$id.metainfo.xml"
appstreamcli validate-tree --no-net "$stage"
