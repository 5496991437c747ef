#!/usr/bin/env bash
# Builds the fuzz targets with clang in a build folder of their own and fuzzes the cable list
# reader for a bounded time on a copy of the seed corpus. Fails when the fuzzer finds a crash or a
# broken invariant; the input that did it is kept in the build folder.
#   FUZZ_SECONDS  how long to fuzz (default 20)
#   FUZZ_BUILD_DIR  the build folder (default build-fuzz at the repository root)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/errors.sh"
dir=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-20}
target=cable_lines_fuzz

if [[ ! -f $dir/build.ninja ]]; then
  hint="configuring $dir with clang failed: CMake's errors are above (clang comes from scripts/packages.txt)"
  CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORLIS_BUILD_FUZZ=ON -DQUORLIS_BUILD_QT=OFF -DQUORLIS_BUILD_TESTS=OFF \
    -DQUORLIS_BUILD_BENCH=OFF -DQUORLIS_WERROR=ON >/dev/null
fi
hint="building $target failed: the compiler's errors are above"
cmake --build "$dir" --target "$target" -- -j"$(nproc)" --quiet

# The target also scans in a double-byte character set: a zh_CN.GBK locale made here.
locales=$dir/locales
if [[ ! -f $locales/zh_CN.GBK/LC_CTYPE ]]; then
  mkdir -p "$locales"
  localedef -i zh_CN -f GBK "$locales/zh_CN.GBK" >/dev/null 2>&1 || true
  if [[ ! -f $locales/zh_CN.GBK/LC_CTYPE ]]; then
    echo "fuzz: localedef could not make zh_CN.GBK in $locales" >&2
    exit 1
  fi
fi

hint=
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$root/fuzz/corpus" "$work/corpus"
artifacts=$dir/fuzz-artifacts
mkdir -p "$artifacts"
log=$dir/fuzz.log

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
if LOCPATH=$locales "$dir/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
     -dict="$root/fuzz/cable.dict" -artifact_prefix="$artifacts/" "$work/corpus" >"$log" 2>&1; then
  echo "fuzz: $target ran ${seconds}s without a fault ($(grep -Eo '^Done [0-9]+ runs' "$log" || true))"
else
  tail -n 60 "$log" >&2
  echo "fuzz: $target found a fault; the input is in $artifacts, the whole log in $log" >&2
  exit 1
fi
