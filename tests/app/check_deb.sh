#!/usr/bin/env bash
# check_deb.sh BUILD_DIR OUT: makes the .deb with CPack into OUT and checks its control fields, its
# files (the documentation Debian users look for included), that lintian says nothing of it even
# with every informational and pedantic tag shown, and, unpacked, what check_install.sh checks of
# an installed tree: the validators, the hardened program, the file type and the default
# application.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
out=$2
id=org.quorlis.quorlis

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
            ./usr/share/mime/packages/quorlis.xml ./usr/share/icons/hicolor/48x48/apps/quorlis.png ./usr/share/icons/hicolor/scalable/apps/quorlis.svg \
            ./usr/share/man/man1/quorlis.1.gz ./usr/share/doc/quorlis/copyright ./usr/share/doc/quorlis/changelog.gz \
            ./usr/share/doc/quorlis/examples/CableList.ini; do
  grep -qx -- "$file" <<<"$contents" || fail "lacks $file"
done

if command -v lintian >/dev/null; then
  # Any tag fails, informational and pedantic ones included.
  # Its tags go to the output; its own notes (such as that it runs as root) to the error output.
  status=0
  suppressed=()
  if [[ -z ${QUORLIS_HARDENED:-} ]]; then
    # The sanitizer build is not hardened: only its hardening tags are expected, and left out.
    suppressed=(--suppress-tags hardening-no-bindnow,hardening-no-fortify-functions,hardening-no-relro,hardening-no-pie)
    echo "check_deb: this build is not hardened (QUORLIS_HARDEN=OFF): lintian's hardening tags are left out"
  fi
  lintian -i -I --pedantic --tag-display-limit 0 "${suppressed[@]}" "$deb" >"$out/lintian.log" 2>"$out/lintian.err" ||
    status=$?
  [[ ! -s $out/lintian.log ]] || { cat "$out/lintian.log" >&2; fail "lintian has tags"; }
  ((status == 0)) || { cat "$out/lintian.err" >&2; fail "lintian failed with status $status"; }
else
  echo "check_deb: lintian is not installed: not checked (package lintian)"
fi

dpkg-deb -x "$deb" "$out/root"
"$here/check_validators.sh" "$out/root" "$out/root/usr/bin/quorlis"
"$here/check_mime.sh" "$out/root"
