#!/usr/bin/env bash
# Builds the fuzz targets with clang in a build folder of their own and fuzzes, for a bounded time
# each on a copy of its seed corpus: the cable list reader (cable_lines_fuzz), and the table's
# operations with the export and import round trip (cable_table_fuzz). Fails when a fuzzer finds
# a crash or a broken invariant; the input that did it is kept in the build folder.
#   FUZZ_SECONDS  how long to fuzz in all, shared equally by the targets (default 20)
#   FUZZ_BUILD_DIR  the build folder (default build-fuzz at the repository root)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/errors.sh"
dir=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-20}
# Each target: its name, its seed corpus in fuzz/, and its dictionary ("-" for none).
targets=("cable_lines_fuzz corpus cable.dict" "cable_table_fuzz table-corpus -")
share=$(( seconds / ${#targets[@]} ))
(( share > 0 )) || share=1

if [[ ! -f $dir/build.ninja ]]; then
  hint="configuring $dir with clang failed: CMake's errors are above (clang comes from scripts/packages-test.txt)"
  CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORLIS_BUILD_FUZZ=ON -DQUORLIS_BUILD_QT=OFF -DQUORLIS_BUILD_TESTS=OFF \
    -DQUORLIS_BUILD_BENCH=OFF -DQUORLIS_WERROR=ON >/dev/null
fi
names=()
for target in "${targets[@]}"; do
  names+=("${target%% *}")
done
hint="building ${names[*]} failed: the compiler's errors are above"
cmake --build "$dir" --target "${names[@]}" -- -j"$(nproc)" --quiet

# The reader's target also scans in a double-byte character set: a zh_CN.GBK locale made here.
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
artifacts=$dir/fuzz-artifacts
mkdir -p "$artifacts"
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

for target in "${targets[@]}"; do
  read -r name corpus dict <<<"$target"
  cp -r "$root/fuzz/$corpus" "$work/$name"
  options=(-max_total_time="$share" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$artifacts/$name-")
  if [[ $dict != - ]]; then
    options+=(-dict="$root/fuzz/$dict")
  fi
  log=$dir/$name.log
  if LOCPATH=$locales "$dir/fuzz/$name" "${options[@]}" "$work/$name" >"$log" 2>&1; then
    echo "fuzz: $name ran ${share}s without a fault ($(grep -Eo '^Done [0-9]+ runs' "$log" || true))"
  else
    tail -n 60 "$log" >&2
    echo "fuzz: $name found a fault; the input is in $artifacts, the whole log in $log" >&2
    exit 1
  fi
done
