#!/usr/bin/env bash
# Configures and builds both builds of the one root project into build/ (or
# $BUILD_DIR): the Windows programs with the mingw toolchain file, and in build/native
# the Linux build (the core library, extract-icons and the core's tests).  The
# configurations' output is kept in build/configure.log and build/native-configure.log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
type=${BUILD_TYPE:-Release}
mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" \
      -DCMAKE_BUILD_TYPE="$type" >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)"
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE="$type" >"$build/native-configure.log" 2>&1 ||
  { cat "$build/native-configure.log"; exit 1; }
cmake --build "$build/native" -j"$(nproc)"
