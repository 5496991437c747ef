#!/usr/bin/env bash
# start.sh [FILE]: installs what the editor needs, builds the editor alone in build-app (no tests,
# benchmarks or fuzz targets: ./scripts/test.sh builds those in build/), and starts it, importing
# FILE when one is given.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
./scripts/setup.sh program
echo "start: building the editor alone in build-app (the tests are built by ./scripts/test.sh)"
./scripts/build.sh build-app -DCMAKE_BUILD_TYPE=Release \
  -DQUORLIS_BUILD_TESTS=OFF -DQUORLIS_BUILD_BENCH=OFF -DQUORLIS_BUILD_FUZZ=OFF
exec build-app/app/quorlis "$@"
