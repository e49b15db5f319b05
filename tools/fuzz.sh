#!/usr/bin/env bash
# Fuzzes one byte reader natively for a while (default 60 s):
#   tools/fuzz.sh TARGET [SECONDS [LIBFUZZER-OPTIONS...]]
# A target is one program, tests/fuzz/TARGET_fuzz.cpp over the core library
# (formats/).  The root project configured natively with -DFUZZ=ON and clang builds
# every target with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer into
# build/fuzz (or $BUILD_DIR/fuzz).  The corpus (build/fuzz/TARGET/corpus) is seeded
# once by the program itself.  A finding stops the run and leaves the input as
# build/fuzz/TARGET/crash-* (or leak-*, oom-*).  SECONDS 0 runs without a time limit
# (e.g. with -runs=N).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}/fuzz
targets=$(cd "$root/tests/fuzz" && ls -- *_fuzz.cpp | sed "s/_fuzz\.cpp\$//" | tr "\n" " ")

target=${1:-}
if [ -z "$target" ] || [ ! -f "$root/tests/fuzz/${target}_fuzz.cpp" ]; then
  echo "usage: $0 TARGET [SECONDS [LIBFUZZER-OPTIONS...]]; targets: $targets" >&2
  exit 2
fi
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  "$root/tools/apt-install.sh" clang libclang-rt-14-dev
fi

mkdir -p "$build"
cmake -S "$root" -B "$build" -DFUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
      -DCMAKE_CXX_COMPILER=clang++ >"$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)" --target "${target}_fuzz"
out=$build/$target
mkdir -p "$out/corpus"
[ -n "$(ls -A "$out/corpus")" ] || "$build/tests/fuzz/${target}_fuzz" --write-seeds="$out/corpus"
cd "$out"
exec "$build/tests/fuzz/${target}_fuzz" -max_total_time="$seconds" -rss_limit_mb=1024 -malloc_limit_mb=256 \
  -max_len=65536 "$@" corpus
