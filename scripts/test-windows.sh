#!/usr/bin/env bash
# test-windows.sh [DIR]: builds the Windows program and runs its tests under Wine, headless, in a
# private prefix, at the word size this machine runs (choose_wine_bits in windows-env.sh says which
# and why):
#   32-bit: DIR (build-windows by default) holds the 32-bit program and its tests, which run under
#           32-bit Wine in DIR/wine-prefix;
#   64-bit: DIR holds the 32-bit program, whose file is checked on this machine without running it;
#           DIR-x86_64 holds the program and the same tests built for x86-64, which run under
#           wine64 in DIR-x86_64/wine-prefix.
#   QUORLIS_WINE_BITS=32|64    forces either
#   QUORLIS_PRETEND_NO_32BIT=1 chooses as on a machine whose kernel runs no 32-bit programs
# Wine's own processes are started detached from our pipes before ctest, and the server is shut
# down at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/errors.sh
source scripts/stages.sh
source scripts/windows-env.sh
dir=${1:-build-windows}
case $dir in /*) ;; *) dir=$root/$dir ;; esac

stages_cleanup() {
  if [[ -n ${WINEPREFIX:-} ]]; then stop_wine_server; fi
}

# Runs the tests of the build in FOLDER, the Windows ones under Wine through the build's emulator
# (wine-run.sh), and says when Wine itself died and a program was run again.
run_tests() {
  local crashes=$1/wine-prefix.crashes
  rm -f "$crashes"
  ctest --test-dir "$1" --output-on-failure --timeout 120 -j2 </dev/null
  if [[ -s $crashes ]]; then
    echo "windows: Wine died on its own while running these, and they were run again:"
    sed 's/^/  /' "$crashes"
  fi
}

rerun="run one failing test alone: ctest --test-dir"
run_stage "windows: word size" "" choose_wine_bits "$dir"
if [[ $QUORLIS_WINE_BITS == 32 ]]; then
  run_stage "windows: packages" "" \
    install_windows_packages $(windows_build_packages i686) $(wine_packages 32) $(wine_drop_test_packages)
  run_stage "windows: build i686" "" ./scripts/build-windows.sh "$dir"
  run_stage "windows: Wine prefix (32-bit)" "" setup_wine_prefix "$dir/wine-prefix" 32
  run_stage "windows: tests under 32-bit Wine" "$rerun $dir -R NAME --output-on-failure" run_tests "$dir"
else
  run_stage "windows: packages" "" install_windows_packages $(windows_build_packages i686) \
    $(windows_build_packages x86_64) $(wine_packages 64) $(wine_drop_test_packages)
  run_stage "windows: build i686 program" "" ./scripts/build-windows.sh --program-only "$dir"
  run_stage "windows: check i686 program file" "$rerun $dir --output-on-failure" run_tests "$dir"
  run_stage "windows: build x86-64" "" ./scripts/build-windows.sh --arch x86_64 "$dir-x86_64"
  run_stage "windows: Wine prefix (64-bit)" "" setup_wine_prefix "$dir-x86_64/wine-prefix" 64
  run_stage "windows: tests under wine64" "$rerun $dir-x86_64 -R NAME --output-on-failure" \
    run_tests "$dir-x86_64"
fi
