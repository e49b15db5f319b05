#!/usr/bin/env bash
# Fuzzes one byte reader natively for a while (default 60 s):
#   tools/fuzz.sh TARGET [SECONDS [LIBFUZZER-OPTIONS...]]
# A target is one program, tests/fuzz/TARGET_fuzz.cpp, built with clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer into build/fuzz/TARGET together with
# tests/fuzz/fuzz_target.cpp and the sources listed for it below.  The readers are
# plain functions over bytes, so they build for the host as they are.  The corpus
# (build/fuzz/TARGET/corpus) is seeded once by the program itself.  A finding stops
# the run and leaves the input as build/fuzz/TARGET/crash-* (or leak-*, oom-*).
# SECONDS 0 runs without a time limit (e.g. with -runs=N).
#
# Adding a target: write tests/fuzz/NAME_fuzz.cpp and list its sources here (and the
# libraries it links, in libraries_of).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

sources_of() {
  case "$1" in
    parsers) echo runtime/icon_directory.cpp iconres/icon_image_header.cpp iconres/icon_image_set.cpp \
                  iconres/ico_parser.cpp iconres/ico_builder.cpp components/image_list_data.cpp \
                  components/window_properties.cpp components/list_view_data.cpp ;;
    module) echo iconres/module_resources.cpp iconres/module_reading.cpp iconres/pe_resources.cpp \
                 iconres/ne_resources.cpp runtime/icon_directory.cpp iconres/icon_image_header.cpp \
                 iconres/icon_image_set.cpp iconres/ico_parser.cpp iconres/ico_builder.cpp components/icon_tile.cpp \
                 iconres/icon_decoder.cpp iconres/png_codec_posix.cpp ;;
    icon_decoder) echo iconres/icon_decoder.cpp iconres/icon_image_header.cpp iconres/png_codec_posix.cpp ;;
    form_description) echo runtime/form_description.cpp ;;
    label) echo components/label_data.cpp ;;
    button) echo components/button_data.cpp ;;
    edit_box) echo components/edit_box_data.cpp ;;
    common_dialog) echo components/common_dialog_data.cpp ;;
    drop_target) echo components/drop_target_data.cpp ;;
    *) return 1 ;;
  esac
}
libraries_of() {
  case "$1" in
    icon_decoder | module) echo -lpng ;;
  esac
}
targets=$(cd "$root/tests/fuzz" && ls -- *_fuzz.cpp | sed "s/_fuzz\.cpp\$//" | tr "\n" " ")

target=${1:-}
if [ -z "$target" ] || ! sources=$(sources_of "$target"); then
  echo "usage: $0 TARGET [SECONDS [LIBFUZZER-OPTIONS...]]; targets: $targets" >&2
  exit 2
fi
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))
out=${BUILD_DIR:-$root/build}/fuzz/$target

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends clang libclang-rt-dev >/dev/null 2>&1 ||
    apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi

mkdir -p "$out/corpus"
clang++ -std=c++17 -g -O1 -Wall -Wextra -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$root" \
  "$root/tests/fuzz/${target}_fuzz.cpp" "$root/tests/fuzz/fuzz_target.cpp" \
  $(for s in $sources; do echo "$root/$s"; done) $(libraries_of "$target") -o "$out/${target}_fuzz"
[ -n "$(ls -A "$out/corpus")" ] || "$out/${target}_fuzz" --write-seeds="$out/corpus"
cd "$out"
exec "./${target}_fuzz" -max_total_time="$seconds" -rss_limit_mb=1024 -malloc_limit_mb=256 -max_len=65536 "$@" corpus
