#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the suite in a normal build, the suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a short bounded fuzzing run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
./scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

./scripts/build.sh build -DQUORLIS_WERROR=ON
ctest --test-dir build --output-on-failure -j"$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
./scripts/build.sh build-asan -DQUORLIS_WERROR=ON -DQUORLIS_SANITIZE=ON -DQUORLIS_BUILD_BENCH=OFF
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"

if [[ -x fuzz/run.sh ]]; then
  ./fuzz/run.sh
fi

# The 32-bit Windows program, cross-built and tested under Wine (QUORLIS_SKIP_WINDOWS=1 skips it).
[[ -n ${QUORLIS_SKIP_WINDOWS:-} ]] || ./scripts/test-windows.sh
