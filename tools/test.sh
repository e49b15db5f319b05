#!/usr/bin/env bash
# Sets the machine up, builds everything and runs the whole test suite under Wine
# (arguments go to CTest: e.g. -L pure for the suites that open no window).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/prepare.sh"
# A wineserver started under another locale keeps its code page: start afresh.
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
cd "$build"
set +e
ctest --output-on-failure "$@"
rc=$?
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
exit $rc
