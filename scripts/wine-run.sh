#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM [ARGS...]: runs a Windows program under Wine in the private, headless
# prefix PREFIX (made by setup_wine_prefix in windows-env.sh), bounded in time and detached from the
# caller's pipes so that a lingering Wine process never holds them open.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/windows-env.sh"
export_wine_env "$1"
shift
timeout 600 wineserver -p </dev/null >/dev/null 2>&1 || true
exec timeout 600 wine "$@"
