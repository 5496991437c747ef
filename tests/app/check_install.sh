#!/usr/bin/env bash
# check_install.sh BUILD_DIR STAGE: installs the build under STAGE/usr as a package would, then
# checks that the program, its desktop entry, metainfo, file type and icons are where desktops look,
# that the desktop entry and metainfo pass their validators without a remark, that the program is
# hardened, and that the file type and the default application answer as on an installed system.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
stage=$2
id=org.quorlis.quorlis

rm -rf "$stage"
cmake --install "$build" --prefix "$stage/usr" >/dev/null
cd "$stage/usr"

expected=(bin/quorlis "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
          share/mime/packages/quorlis.xml share/icons/hicolor/scalable/apps/quorlis.svg share/doc/quorlis/copyright)
for size in 16 32 48 64 128 256; do expected+=("share/icons/hicolor/${size}x$size/apps/quorlis.png"); done
for file in "${expected[@]}"; do
  [[ -s $file ]] || { echo "not installed: $file" >&2; exit 1; }
done
[[ -x bin/quorlis ]] || { echo "bin/quorlis is not executable" >&2; exit 1; }

desktop=share/applications/$id.desktop
for line in 'Exec=quorlis %f' 'Icon=quorlis' 'MimeType=application/x-quorlis-cable-list;' 'StartupWMClass=Quorlis'; do
  grep -qxF "$line" "$desktop" || { echo "$desktop lacks $line" >&2; exit 1; }
done
grep -qxF 'License: Expat' share/doc/quorlis/copyright || { echo "the copyright names no Expat licence" >&2; exit 1; }

# The screenshots the metainfo shows are the repository's own pictures, published under the
# homepage: each address names a picture that docs/ holds.
metainfo=share/metainfo/$id.metainfo.xml
homepage=$(sed -n 's|.*<url type="homepage">\(.*\)</url>.*|\1|p' "$metainfo")
[[ $homepage == https://* ]] || { echo "$metainfo: the homepage is not an https address: '$homepage'" >&2; exit 1; }
images=$(sed -n 's|.*<image>\(.*\)</image>.*|\1|p' "$metainfo")
(($(wc -l <<<"$images") >= 2)) || { echo "$metainfo: fewer than two screenshots" >&2; exit 1; }
while read -r image; do
  [[ $image == "$homepage"docs/* ]] || { echo "$metainfo: $image is not under ${homepage}docs/" >&2; exit 1; }
  [[ -s $here/../../docs/${image#"$homepage"docs/} ]] || { echo "$metainfo: docs/ has no picture for $image" >&2; exit 1; }
done <<<"$images"

"$here/check_validators.sh" "$stage" "$stage/usr/bin/quorlis"
"$here/check_mime.sh" "$stage"
