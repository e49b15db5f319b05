#!/usr/bin/env bash
# Times the thumbnailer (extract-icons --thumbnail, the Linux build) against the
# reference thumbnailer exe-thumbnailer, in the same run, with the same size, inputs
# and output, one process per thumbnail as a file manager runs them:
#   tools/bench-thumbnails.sh [ROUNDS]
# - one large module: the Wine prefix's 32-bit shell32.dll at 256 pixels, ROUNDS
#   times each (default 10);
# - every file of the prefix's 32-bit system folder at 128 pixels, once each;
# - 16-bit NE libraries: the test suite's sample icon library and the prefix's 16-bit
#   modules, at 128 pixels.
# Prints each tool's time per file and how many thumbnails it made, and the files that
# got a thumbnail from exe-thumbnailer but not from extract-icons.
# Targets: at most a twentieth of exe-thumbnailer's time per file, and a thumbnail for
# every module that exe-thumbnailer makes one for; the exit code is 1 when either is
# missed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
rounds=${1:-10}
ours=$build/native/extract-icons
samples=$build/native/tests/thumbnail/thumbnail_samples
prefix=$build/wineprefix
[ -x "$ours" ] && [ -x "$samples" ] || { echo "build first: tools/build.sh" >&2; exit 1; }
command -v exe-thumbnailer >/dev/null || "$root/tools/apt-install.sh" icoextract-thumbnailer
"$root/tools/wine-run.sh" --prefix "$prefix" "$build/cli/extract-icons.exe" --help >/dev/null  # creates the prefix once
sys=$prefix/drive_c/windows/syswow64
[ -f "$sys/shell32.dll" ] || { echo "no Wine system folder at $sys" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/ne" "$work/ours" "$work/theirs"
"$samples" "$work/ne" && rm -f "$work/ne/pe32.dll" "$work/ne/pe64.exe" "$work/ne/noicons.dll" "$work/ne/damaged.exe"
cp "$prefix"/drive_c/windows/system/*.dll "$work/ne/" 2>/dev/null || true

now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# run TOOL SIZE OUTDIR FILE...: one process per file, thumbnail OUTDIR/NAME.png; prints
# the seconds taken.  The loop itself starts no other process.
run() {
  local tool=$1 size=$2 out=$3 start
  shift 3
  start=$(now)
  for f in "$@"; do
    if [ "$tool" = ours ]; then
      "$ours" --thumbnail "$size" "$f" "$out/${f##*/}.png" 2>/dev/null || true
    else
      exe-thumbnailer -s "$size" "$f" "$out/${f##*/}.png" >/dev/null 2>&1 || true
    fi
  done
  seconds "$start" "$(now)"
}
made() { find "$1" -name '*.png' -size +0 | wc -l; }

large=()
for ((i = 0; i < rounds; i++)); do large+=("$sys/shell32.dll"); done
mkdir -p "$work/large-ours" "$work/large-theirs"
ours_large=$(run ours 256 "$work/large-ours" "${large[@]}")
theirs_large=$(run theirs 256 "$work/large-theirs" "${large[@]}")

files=()
for f in "$sys"/*; do [ -f "$f" ] && files+=("$f"); done
ours_all=$(run ours 128 "$work/ours" "${files[@]}")
theirs_all=$(run theirs 128 "$work/theirs" "${files[@]}")
missing=$(comm -23 <(cd "$work/theirs" && find . -name '*.png' -size +0 | sort) \
                   <(cd "$work/ours" && find . -name '*.png' -size +0 | sort) | sed 's|^\./||; s|\.png$||')

mkdir -p "$work/ne-ours" "$work/ne-theirs"
run ours 128 "$work/ne-ours" "$work"/ne/* >/dev/null
run theirs 128 "$work/ne-theirs" "$work"/ne/* >/dev/null

python3 - "$rounds" "$ours_large" "$theirs_large" "${#files[@]}" "$ours_all" "$theirs_all" \
  "$(made "$work/ours")" "$(made "$work/theirs")" "$(made "$work/large-ours")" "$(made "$work/large-theirs")" \
  "$(ls "$work/ne" | wc -l)" "$(made "$work/ne-ours")" "$(made "$work/ne-theirs")" "$missing" <<'EOF'
import sys
(rounds, ours_large, theirs_large, files, ours_all, theirs_all, ours_made, theirs_made, ours_large_made,
 theirs_large_made, ne_files, ne_ours, ne_theirs) = (float(v) for v in sys.argv[1:14])
missing = [m for m in sys.argv[14].split('\n') if m]
print(f'shell32.dll at 256 pixels, {rounds:.0f} runs each:')
print(f'  extract-icons --thumbnail: {1000 * ours_large / rounds:9.1f} ms per file, {ours_large_made:.0f} thumbnails')
print(f'  exe-thumbnailer:           {1000 * theirs_large / rounds:9.1f} ms per file, {theirs_large_made:.0f} thumbnails')
print(f'  time ratio: {ours_large / theirs_large:.4f} (target at most 0.05)')
print(f'every file of the 32-bit system folder at 128 pixels ({files:.0f} files, one process each):')
print(f'  extract-icons --thumbnail: {ours_all:8.2f} s, {1000 * ours_all / files:7.2f} ms per file, {ours_made:.0f} thumbnails')
print(f'  exe-thumbnailer:           {theirs_all:8.2f} s, {1000 * theirs_all / files:7.2f} ms per file, {theirs_made:.0f} thumbnails')
print(f'  time ratio: {ours_all / theirs_all:.4f} (target at most 0.05)')
print(f'16-bit NE libraries ({ne_files:.0f} files): extract-icons {ne_ours:.0f} thumbnails, exe-thumbnailer {ne_theirs:.0f}')
print(f'files exe-thumbnailer made a thumbnail of and extract-icons did not: {len(missing)}')
for m in missing[:20]:
    print('  ' + m)
ok = ours_large <= theirs_large / 20 and ours_all <= theirs_all / 20 and not missing and ne_ours >= 1
sys.exit(0 if ok else 1)
EOF
