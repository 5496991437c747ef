#!/usr/bin/env bash
# start.sh [FILE]: installs what the editor needs, builds the editor alone in build-app (no tests,
# benchmarks or fuzz targets: ./scripts/test.sh builds those in build/), and starts it, importing
# FILE when one is given.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# No change of folder: FILE is named from where the command was given.
"$root/scripts/setup.sh" program
echo "start: building the editor alone in build-app (the tests are built by ./scripts/test.sh)"
"$root/scripts/build.sh" "$root/build-app" -DCMAKE_BUILD_TYPE=Release \
  -DQUORLIS_BUILD_TESTS=OFF -DQUORLIS_BUILD_BENCH=OFF -DQUORLIS_BUILD_FUZZ=OFF
exec "$root/build-app/app/quorlis" "$@"
