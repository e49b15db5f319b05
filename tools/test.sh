#!/usr/bin/env bash
# Sets the machine up, builds everything and runs the whole test suite under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/setup.sh"
mkdir -p "$build"
"$root/tools/build.sh" >"$build/../build.log" 2>&1 || { tail -60 "$build/../build.log"; exit 1; }
# A wineserver started under another locale keeps its code page: start afresh.
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
cd "$build"
set +e
ctest --output-on-failure "$@"
rc=$?
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
exit $rc
