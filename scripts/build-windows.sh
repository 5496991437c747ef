#!/usr/bin/env bash
# build-windows.sh [--arch i686|x86_64] [--program-only] [DIR]: cross-builds the program and its
# tests for Windows into DIR (build-windows by default), installing the MinGW-w64 toolchain first
# when it is missing. The program is DIR/app/Quorlis.exe; i686, the default, is the 32-bit program
# that is shipped. --program-only leaves the test programs out: only the checks of the program's
# file, which run on this machine, are built with it. The tests run under Wine in the private
# prefix DIR/wine-prefix (see test-windows.sh); they are listed when ctest runs, not when they are
# built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/errors.sh
source scripts/windows-env.sh

usage() {
  echo "usage: build-windows.sh [--arch i686|x86_64] [--program-only] [DIR]" >&2
  exit 2
}
arch=i686
program_only=
while (($#)); do
  case $1 in
    --arch) (($# >= 2)) || usage; arch=$2; shift 2 ;;
    --program-only) program_only=1; shift ;;
    -*) usage ;;
    *) break ;;
  esac
done
(($# <= 1)) || usage
case $arch in
  i686) bits=32 ;;
  x86_64) bits=64 ;;
  *) usage ;;
esac
dir=${1:-build-windows}
case $dir in /*) ;; *) dir=$root/$dir ;; esac

install_windows_packages $(windows_build_packages "$arch")

if [[ -n $program_only ]]; then
  gtest=(-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_REQUIRE_FIND_PACKAGE_GTest=OFF)
else
  build_mingw_gtest "$dir" "$root" "$arch"
  gtest=(-DCMAKE_DISABLE_FIND_PACKAGE_GTest=OFF -DCMAKE_REQUIRE_FIND_PACKAGE_GTest=ON
         -DGTest_DIR="$dir/googletest-install/lib/cmake/GTest")
fi
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

hint="configuring $dir failed: CMake's errors are above; to start afresh, remove $dir/CMakeCache.txt"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" "${gtest[@]}" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine-run.sh;$bits;$dir/wine-prefix" \
  -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST \
  -DQUORLIS_BUILD_QT=OFF -DQUORLIS_BUILD_BENCH=OFF -DQUORLIS_WERROR=ON "${launcher[@]}" >/dev/null
hint="building $dir failed: the compiler's errors are above"
cmake --build "$dir" -- -j2 --quiet
