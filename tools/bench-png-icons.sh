#!/usr/bin/env bash
# Times extract-icons --png against a reference loop of wrestool and icotool over every
# .dll and .exe of the Wine prefix's 32-bit system folder, in the same run:
#   tools/bench-png-icons.sh
# Each round, extract-icons (the Linux build) runs once: -r --png --size all over a
# folder of links to those files; the reference runs wrestool -x -t14 once per file,
# then icotool -x once per group file it wrote.  Both write one PNG file per image; the counts are shown.
# Both write into a folder in memory (/dev/shm, or $BENCH_TMP): on this machine's disk
# creating a file costs over a millisecond, for both alike, which would time the disk
# rather than the programs.
# Target: extract-icons takes at most a tenth of the loop's time (medians of the
# rounds); the exit code is 1 when it does not.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
native=$build/native/extract-icons
command -v wrestool >/dev/null && command -v icotool >/dev/null || { echo "wrestool or icotool is missing" >&2; exit 1; }
[ -x "$native" ] || { echo "build first: tools/build.sh" >&2; exit 1; }
prefix=$build/wineprefix
[ -d "$prefix/drive_c/windows/syswow64" ] ||
  "$root/tools/wine-run.sh" --prefix "$prefix" "$build/cli/extract-icons.exe" --help >/dev/null  # creates the prefix
sys=$prefix/drive_c/windows/syswow64

tmp=${BENCH_TMP:-/dev/shm}
[ -d "$tmp" ] && [ -w "$tmp" ] || tmp=${TMPDIR:-/tmp}
work=$(mktemp -d -p "$tmp")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/input"
for f in "$sys"/*.dll "$sys"/*.exe; do ln -s "$f" "$work/input/"; done
modules=$(ls "$work/input" | wc -l)

now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# Rounds (BENCH_ROUNDS, 3 by default) alternate the two, each into fresh folders, so
# that a change in the machine's load falls on both; the medians are compared.
rounds=${BENCH_ROUNDS:-3}
ours_times=() reference_times=()
for ((round = 1; round <= rounds; ++round)); do
  rm -rf "$work/ours" "$work/groups" "$work/reference"
  mkdir -p "$work/groups" "$work/reference"
  start=$(now)
  "$native" -r --png --size all -o "$work/ours" "$work/input" 2>"$work/ours.txt" || true
  ours_times+=("$(seconds "$start" "$(now)")")

  start=$(now)
  for f in "$work/input"/*; do wrestool -x -t14 -o "$work/groups/" "$f" 2>/dev/null || true; done
  for g in "$work/groups"/*; do icotool -x -o "$work/reference/" "$g" 2>/dev/null || true; done
  reference_times+=("$(seconds "$start" "$(now)")")
done
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ours_time=$(median "${ours_times[@]}")
reference_time=$(median "${reference_times[@]}")

ours_images=$(find "$work/ours" -name '*.png' | wc -l)
reference_images=$(find "$work/reference" -name '*.png' | wc -l)
echo "modules: $modules (.dll and .exe of the Wine system folder); output in $tmp; $rounds rounds"
echo "extract-icons -r --png --size all:  ${ours_times[*]} s (median $ours_time), $ours_images PNG files ($(tail -1 "$work/ours.txt"))"
echo "wrestool -x -t14 + icotool -x loop: ${reference_times[*]} s (median $reference_time), $reference_images PNG files from $(ls "$work/groups" | wc -l) group files"
awk -v a="$ours_time" -v b="$reference_time" 'BEGIN { r = a / b; printf "time ratio of the medians: %.3f (target at most 0.1)\n", r; exit r <= 0.1 ? 0 : 1 }'
