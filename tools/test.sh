#!/usr/bin/env bash
# Sets the machine up, builds everything and runs the whole test suite: the native
# tests of the core (build/native), then the suites under Wine (build/).  Arguments go
# to both CTest runs: e.g. -L pure for the suites that open no window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/prepare.sh"
# A wineserver started under another locale keeps its code page: start afresh.
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
set +e
ctest --test-dir "$build/native" --output-on-failure "$@"
native_rc=$?
cd "$build"
ctest --output-on-failure "$@"
rc=$?
[ "$rc" != 0 ] || rc=$native_rc
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
exit $rc
