#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
./scripts/setup.sh
./scripts/build.sh build
if [[ -x build/app/quorlis ]]; then
  exec build/app/quorlis
fi
echo "Quorlis: the editor is not built yet; only the cable list library and its tests are."
