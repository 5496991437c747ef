#!/usr/bin/env bash
# check_validators.sh ROOT PROGRAM: the checks a distribution runs on an installed tree (ROOT/usr):
# desktop-file-validate on the desktop entry and appstreamcli validate --pedantic on the metainfo
# must say nothing beyond success, and hardening-check must find PROGRAM hardened where the build
# is (QUORLIS_HARDENED set). Each runs where its tool is installed (the test command installs them
# all); one that is missing is named.
set -euo pipefail
root=$1
program=$2
id=org.quorlis.quorlis
share=$root/usr/share
fail() { echo "check_validators: $*" >&2; exit 1; }
missing() { echo "check_validators: $1 is not installed: not checked (package $2)"; }

if command -v desktop-file-validate >/dev/null; then
  output=$(desktop-file-validate "$share/applications/$id.desktop" 2>&1) || fail "desktop-file-validate: $output"
  [[ -z $output ]] || fail "desktop-file-validate remarks: $output"
else
  missing desktop-file-validate desktop-file-utils
fi

if command -v appstreamcli >/dev/null; then
  for command in validate validate-tree; do
    target=$share/metainfo/$id.metainfo.xml
    [[ $command == validate-tree ]] && target=$root
    output=$(appstreamcli "$command" --pedantic --no-net --no-color "$target" 2>&1) ||
      fail "appstreamcli $command: $output"
    # Success alone: any remark (even a pedantic one) adds lines or a count after the word.
    [[ $output == '✔ Validation was successful.' ]] || fail "appstreamcli $command remarks: $output"
  done
else
  missing appstreamcli appstream
fi

if [[ -z ${QUORLIS_HARDENED:-} ]]; then
  echo "check_validators: this build is not hardened (QUORLIS_HARDEN=OFF): hardening-check left out"
elif command -v hardening-check >/dev/null; then
  # Control-flow marking cannot show: Debian 12's C start files carry no such note.
  output=$(hardening-check --nocfprotection "$program" 2>&1) || fail "hardening-check: $output"
else
  missing hardening-check devscripts
fi
