#!/usr/bin/env bash
# Fuzzes the byte parsers natively for a while (default 60 s per run):
#   tools/fuzz.sh [SECONDS]
# Builds tests/fuzz/parsers_fuzz.cpp with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build/fuzz, seeds a corpus there once and runs.  The
# parsers are plain functions over bytes, so they build for the host as they are.
# A finding stops the run and leaves the input as build/fuzz/crash-* (or leak-*, oom-*).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${BUILD_DIR:-$root/build}/fuzz
seconds=${1:-60}

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends clang libclang-rt-dev >/dev/null 2>&1 ||
    apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi

mkdir -p "$out/corpus"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$root" \
  "$root/tests/fuzz/parsers_fuzz.cpp" "$root/iconres/icon_group_directory.cpp" "$root/iconres/icon_image_set.cpp" \
  "$root/iconres/ico_parser.cpp" "$root/iconres/ico_builder.cpp" "$root/components/image_list_data.cpp" \
  "$root/components/window_properties.cpp" "$root/components/list_view_data.cpp" \
  -o "$out/parsers_fuzz"
[ -n "$(ls -A "$out/corpus")" ] || "$out/parsers_fuzz" --write-seeds="$out/corpus"
cd "$out"
exec ./parsers_fuzz -max_total_time="$seconds" -rss_limit_mb=1024 -malloc_limit_mb=256 -max_len=65536 corpus
