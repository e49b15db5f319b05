#!/usr/bin/env bash
# What starting the tool and running the tests both need first: the machine set up
# (tools/setup.sh) and everything built into build/ (or $BUILD_DIR).  The build's
# output goes to build/build.log; its end is shown when the build fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/setup.sh"
mkdir -p "$build"
"$root/tools/build.sh" >"$build/build.log" 2>&1 || { tail -60 "$build/build.log"; exit 1; }
