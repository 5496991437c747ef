#!/usr/bin/env bash
# build-windows.sh [DIR]: cross-builds the program and its tests for 32-bit Windows into DIR
# (build-windows by default), installing the MinGW-w64 toolchain and Wine first when they are
# missing. The program is DIR/app/Quorlis.exe. The tests run under Wine in the private prefix
# DIR/wine-prefix (see test-windows.sh); they are listed when ctest runs, not when they are built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/windows-env.sh
dir=${1:-build-windows}
case $dir in /*) ;; *) dir=$root/$dir ;; esac
install_windows_packages
build_mingw_gtest "$dir" "$root"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DGTest_DIR="$dir/googletest-install/lib/cmake/GTest" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine-run.sh;$dir/wine-prefix" \
  -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST \
  -DQUORLIS_BUILD_QT=OFF -DQUORLIS_BUILD_BENCH=OFF -DQUORLIS_WERROR=ON \
  $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache) >/dev/null
cmake --build "$dir" -- -j2 --quiet
