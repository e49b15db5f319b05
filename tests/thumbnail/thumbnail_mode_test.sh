#!/usr/bin/env bash
# extract-icons --thumbnail on its own, as a thumbnail client runs it:
#   thumbnail_mode_test.sh EXTRACT_ICONS THUMBNAIL_SAMPLES
# - the image each sample module gives for several sizes (which image the size rule
#   takes, as an 8-bit RGBA PNG), and the same for an .ico file;
# - failures (no icons, damaged, missing, a folder, a FIFO that must not be waited on,
#   an unwritable output folder): exit code 1, the reason on standard error, and no
#   OUTPUT and no temporary file left;
# - an OUTPUT that exists already (a client's placeholder, read through a descriptor
#   the client keeps) is filled in place, and left as it was on failure;
# - usage errors: exit code 2;
# - runs killed at random moments leave either no OUTPUT or a whole PNG, and no
#   temporary file.
set -u -o pipefail
program=$1 samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
"$samples" "$work" || exit 1
mkdir "$work/out"

# size FILE: WIDTHxHEIGHT of an 8-bit RGBA, non-interlaced PNG, else "not RGBA PNG".
size() {
  python3 - "$1" <<'EOF'
import struct, sys
d = open(sys.argv[1], 'rb').read()
ok = d[:8] == b'\x89PNG\r\n\x1a\n' and d[12:16] == b'IHDR' and d[24:26] == b'\x08\x06' and d[28] == 0
print('%dx%d' % struct.unpack('>II', d[16:24]) if ok else 'not RGBA PNG')
EOF
}

# expect_image INPUT SIZE WIDTHxHEIGHT
expect_image() {
  local out=$work/out/$(basename "$1")-$2.png
  "$program" --thumbnail "$2" "$1" "$out" 2>"$work/err.txt" || { fail "$1 at $2: $(cat "$work/err.txt")"; return; }
  [ "$(size "$out")" = "$3" ] || fail "$1 at $2: $(size "$out"), expected $3"
}
# pe32.dll: 16 (1-bit), 32 (4-bit), 48 (32-bit) and a 256-pixel PNG; pe64.exe: 16,
# 48 and 128; ne.icl: 32 and 16.  The smallest at least SIZE wide, else the largest.
expect_image "$work/pe32.dll" 1 16x16
expect_image "$work/pe32.dll" 40 48x48
expect_image "$work/pe32.dll" 128 256x256
expect_image "$work/pe32.dll" 4096 256x256
expect_image "$work/pe64.exe" 32 48x48
expect_image "$work/pe64.exe" 256 128x128
expect_image "$work/ne.icl" 24 32x32
expect_image "$work/ne.icl" 128 32x32
# An .ico file of the 64-bit module's first group (written by the .ico mode).
"$program" -o "$work/ico" "$work/pe64.exe" >/dev/null 2>&1
expect_image "$work/ico/pe64-1.ico" 64 128x128

# expect_failure REASON INPUT [OUTPUT]
expect_failure() {
  local out=${3:-$work/out/failed.png}
  timeout 10 "$program" --thumbnail 128 "$2" "$out" 2>"$work/err.txt"
  local rc=$?
  [ "$rc" = 1 ] || fail "$2: exit code $rc, expected 1"
  [ "$(cat "$work/err.txt")" = "extract-icons: $1" ] || fail "$2: printed '$(cat "$work/err.txt")', expected '$1'"
  [ ! -e "$work/out/failed.png" ] || fail "$2: an output file was left"
}
mkfifo "$work/fifo.dll"
expect_failure "$work/noicons.dll: no icons" "$work/noicons.dll"
expect_failure "$work/damaged.exe: icon 1 cannot be loaded (missing or malformed image)" "$work/damaged.exe"
expect_failure "$work/missing.dll: unreadable: No such file or directory" "$work/missing.dll"
expect_failure "$work: unreadable: not a regular file" "$work"
expect_failure "$work/fifo.dll: unreadable: not a regular file" "$work/fifo.dll"
expect_failure "$work/none/x.png: write failed: No such file or directory" "$work/pe32.dll" "$work/none/x.png"

# A placeholder that a client created and keeps open: filled in place when the
# thumbnail succeeds, untouched when it fails.
: >"$work/out/placeholder.png"
exec 3<"$work/out/placeholder.png"
"$program" --thumbnail 128 "$work/pe64.exe" "$work/out/placeholder.png" || fail "filling a placeholder"
[ "$(head -c 4 <&3 | od -An -c | tr -d ' ')" = '211PNG' ] || fail "the placeholder's reader does not see the PNG"
exec 3<&-
: >"$work/out/kept.png"
"$program" --thumbnail 128 "$work/noicons.dll" "$work/out/kept.png" 2>/dev/null && fail "noicons.dll into a placeholder"
[ -f "$work/out/kept.png" ] && [ ! -s "$work/out/kept.png" ] || fail "a failure changed the placeholder"

for usage in "--thumbnail" "--thumbnail 128 a" "--thumbnail 0 a b" "--thumbnail x a b" "--thumbnail 4097 a b" \
             "--thumbnail 128 a b c" "-r --thumbnail 128 a b"; do
  # shellcheck disable=SC2086
  "$program" $usage >/dev/null 2>&1
  rc=$?
  [ "$rc" = 2 ] || fail "'$usage': exit code $rc, expected 2"
done

# Killed at random moments: nothing half written, nothing temporary; also where the
# file system has no unnamed files (tests/cli/no_tmpfile.c), so that the new file goes
# through a temporary name.
no_tmpfile=$(dirname "$program")/tests/cli/no_tmpfile.so
[ -f "$no_tmpfile" ] || fail "no $no_tmpfile: build the native tree"
for preload in "" "$no_tmpfile"; do
  for i in $(seq 1 40); do
    rm -f "$work/out/killed.png"
    LD_PRELOAD=$preload "$program" --thumbnail 256 "$work/pe32.dll" "$work/out/killed.png" 2>/dev/null &
    pid=$!
    sleep "0.00$((RANDOM % 10))"
    kill -TERM "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    if [ -e "$work/out/killed.png" ] && [ "$(size "$work/out/killed.png")" != 256x256 ]; then
      fail "a killed run left a partial file${preload:+ (no unnamed files)}"
      break
    fi
  done
done
[ -z "$(find "$work" -name '.~*')" ] || fail "temporary files left behind: $(find "$work" -name '.~*')"

[ "$status" = 0 ] && echo PASS
exit $status
