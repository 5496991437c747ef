#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures the tree in DIR (the first time, and again whenever
# options are given, so that they hold for a folder configured before) and builds it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/errors.sh"
(($# >= 1)) || { echo "usage: build.sh DIR [cmake options...]" >&2; exit 2; }
dir=$1; shift
# A compiler cache, where there is one, makes rebuilds of other folders and checkouts cheap.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [[ ! -f $dir/build.ninja || $# -gt 0 ]]; then
  hint="configuring $dir failed: CMake's errors are above; to start afresh, remove $dir"
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
fi
hint="building $dir failed: the compiler's errors are above"
cmake --build "$dir" -- -j"$(nproc)" --quiet
