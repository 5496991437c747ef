#!/usr/bin/env bash
# check_deb.sh BUILD_DIR OUT: makes the .deb with CPack into OUT and checks its control fields, its
# files (the documentation Debian users look for included) and that lintian finds no error in it.
set -euo pipefail
build=$1
out=$2
id=org.quorlis.Quorlis

rm -rf "$out"
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" || { cat "$out/cpack.log" >&2; exit 1; }
debs=("$out"/quorlis_*.deb)
deb=${debs[0]}
[[ -f $deb ]] || { echo "no quorlis_*.deb in $out" >&2; exit 1; }

fail() { echo "$deb: $*" >&2; exit 1; }
[[ $(dpkg-deb -f "$deb" Package) == quorlis ]] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins; do
  [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/quorlis "./usr/share/applications/$id.desktop" "./usr/share/metainfo/$id.metainfo.xml" \
            ./usr/share/icons/hicolor/48x48/apps/quorlis.png ./usr/share/icons/hicolor/scalable/apps/quorlis.svg \
            ./usr/share/man/man1/quorlis.1.gz ./usr/share/doc/quorlis/copyright ./usr/share/doc/quorlis/changelog.gz \
            ./usr/share/doc/quorlis/examples/CableList.ini; do
  grep -qx -- "$file" <<<"$contents" || fail "lacks $file"
done

# Errors fail; warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$deb" >"$out/lintian.log" 2>&1 || { cat "$out/lintian.log" >&2; fail "lintian"; }
cat "$out/lintian.log"
