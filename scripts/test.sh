#!/usr/bin/env bash
# Installs what is missing, checks the sources' format, builds, and runs every test: the suite in a
# normal build, the suite again under AddressSanitizer and UndefinedBehaviorSanitizer, a short
# bounded fuzzing run, and the Windows program's tests under Wine (test-windows.sh). Ends with a
# table of the stages and their times; the last line says whether it passed or which stage failed.
#   QUORLIS_SKIP_LINUX=1    leaves out the Linux builds, their tests and the fuzzing
#   QUORLIS_SKIP_WINDOWS=1  leaves out the Windows program
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/errors.sh
source scripts/stages.sh

run_stage "setup" "installing the packages of scripts/packages.txt and packages-test.txt failed; check the network and apt's sources" \
  ./scripts/setup.sh
run_stage "format" "the files named above are not formatted as .clang-format says" ./scripts/check-format.sh

linux_stages() {
  export QT_QPA_PLATFORM=offscreen
  local rerun="run one failing test alone: ctest --test-dir"
  # The test programs are required here: without GoogleTest the tree would build without them.
  local options=(-DQUORLIS_WERROR=ON -DCMAKE_REQUIRE_FIND_PACKAGE_GTest=ON)
  run_stage "linux: build" "the compiler's errors are above" ./scripts/build.sh build "${options[@]}"
  run_stage "linux: tests" "$rerun build -R NAME --output-on-failure" \
    ctest --test-dir build --output-on-failure -j"$(nproc)"

  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
  export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  run_stage "sanitizers: build" "the compiler's errors are above" \
    ./scripts/build.sh build-asan "${options[@]}" -DQUORLIS_SANITIZE=ON -DQUORLIS_BUILD_BENCH=OFF
  run_stage "sanitizers: tests" "the sanitizer's report is above; $rerun build-asan -R NAME --output-on-failure" \
    ctest --test-dir build-asan --output-on-failure -j"$(nproc)"

  run_stage "fuzz" "the fuzzer's report is above" ./fuzz/run.sh
}

if [[ -z ${QUORLIS_SKIP_LINUX:-} ]]; then
  linux_stages
else
  skip_stage "linux" "QUORLIS_SKIP_LINUX is set"
fi

if [[ -z ${QUORLIS_SKIP_WINDOWS:-} ]]; then
  run_stage "windows" "the failing Windows stage is named below" ./scripts/test-windows.sh
else
  skip_stage "windows" "QUORLIS_SKIP_WINDOWS is set"
fi
