#!/usr/bin/env bash
# The Linux build of extract-icons against the Windows build run under Wine, over the
# whole 32-bit system folder of the Wine prefix: the same icon files byte for byte in
# the same mirrored folders, the same list, messages and exit code, and the same PNG
# files pixel for pixel.  Then the Linux
# build's own messages and exit codes for bad input and an unwritable output folder.
#   native_test.sh NATIVE_PROGRAM WINDOWS_PROGRAM WINE_PREFIX
set -u -o pipefail
native=$1 exe=$2 prefix=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
winpath() { printf 'Z:%s' "${1//\//\\}"; }
windows() { "$root/tools/wine-run.sh" --prefix "$prefix" "$exe" "$@" | tr -d '\r' | sed 's|\\|/|g'; }

# The first Wine run creates the prefix; both builds then run in its system folder.
windows --help >/dev/null 2>&1
sys=$prefix/drive_c/windows/syswow64
[ -d "$sys" ] || { echo "FAIL: no Wine system folder at $sys"; exit 1; }
cd "$sys"
windows -r -o "$(winpath "$work/win")" . >"$work/win.txt"; win_rc=${PIPESTATUS[0]}
"$native" -r -o "$work/native" . >"$work/native.txt" 2>&1; native_rc=$?
[ "$native_rc" = "$win_rc" ] || fail "exit codes differ: Linux $native_rc, Windows $win_rc"
diff "$work/native.txt" "$work/win.txt" >/dev/null || fail "messages differ: $(diff "$work/native.txt" "$work/win.txt" | head -5)"
diff -r "$work/native" "$work/win" >/dev/null || fail "icon files differ: $(diff -rq "$work/native" "$work/win" | head -5)"
icons=$(find "$work/native" -name '*.ico' | wc -l)
[ "$icons" -gt 200 ] || fail "only $icons icon files written"
echo "system folder: $icons icon files, $(tail -1 "$work/native.txt")"

windows --list -r . >"$work/win-list.txt"
"$native" --list -r . >"$work/native-list.txt" 2>&1
diff "$work/native-list.txt" "$work/win-list.txt" >/dev/null || fail "lists differ: $(diff "$work/native-list.txt" "$work/win-list.txt" | head -5)"
grep -q $'^./comdlg32.dll\t3\t"FOLDER"\t256x256 32-bit PNG, 48x48 32-bit, ' "$work/native-list.txt" || fail "comdlg32's third group not listed"

# PNG output: the same files from both builds, pixel for pixel (their PNG encoders
# differ, so the bytes may too), with the same messages.  ImageMagick's signature of a
# file is a digest of its decoded pixels, alpha included.
signatures() { (cd "$1" && find . -name '*.png' -print0 | sort -z | xargs -0 -r identify -format '%i %#\n'); }
windows -r --png -o "$(winpath "$work/win-png")" . >"$work/win-png.txt"; win_rc=${PIPESTATUS[0]}
"$native" -r --png -o "$work/native-png" . >"$work/native-png.txt" 2>&1; native_rc=$?
[ "$native_rc" = "$win_rc" ] || fail "--png exit codes differ: Linux $native_rc, Windows $win_rc"
diff "$work/native-png.txt" "$work/win-png.txt" >/dev/null ||
  fail "--png messages differ: $(diff "$work/native-png.txt" "$work/win-png.txt" | head -5)"
signatures "$work/native-png" >"$work/native-png.sig"
signatures "$work/win-png" >"$work/win-png.sig"
pngs=$(wc -l <"$work/native-png.sig")
[ "$pngs" -gt 2000 ] || fail "only $pngs PNG files written"
diff "$work/native-png.sig" "$work/win-png.sig" >/dev/null ||
  fail "PNG files differ: $(diff "$work/native-png.sig" "$work/win-png.sig" | grep -c '^<') of $pngs, $(diff "$work/native-png.sig" "$work/win-png.sig" | head -3)"
echo "system folder --png: $pngs PNG files pixel-equal in both builds, $(tail -1 "$work/native-png.txt")"

# The PNG kinds the system folder lacks, in a module built here (ImageMagick makes the
# streams, icotool the group, the cross tools a resource-only DLL): 16-bit RGBA and
# grey, 8-bit RGB, palette, grey with alpha, grey with tRNS, and an interlaced one.
kinds=$work/kinds
mkdir -p "$kinds"
(
  cd "$kinds" &&
    convert -size 48x48 gradient:red-blue -alpha set -channel A -fx 'i/w' +channel -depth 16 PNG64:rgba16.png &&
    convert -size 24x24 gradient:white-black -depth 16 -define png:color-type=0 PNG:grey16.png &&
    convert -size 40x40 gradient:yellow-green -depth 8 PNG24:rgb8.png &&
    convert -size 32x32 gradient:white-black -colors 16 PNG8:palette.png &&
    convert -size 20x20 gradient:white-black -alpha set -channel A -fx 'j/h' +channel -colorspace Gray \
      -define png:color-type=4 -depth 8 PNG:grey-alpha.png &&
    convert -size 16x16 xc:gray50 -fill black -draw 'rectangle 0,0 7,7' -transparent black \
      -define png:color-type=0 -define png:bit-depth=8 PNG:grey-trns.png &&
    convert -size 36x36 gradient:cyan-magenta -alpha set -channel A -fx 'i/w' +channel -interlace PNG -depth 8 \
      PNG32:interlaced.png &&
    icotool -c -o kinds.ico --raw=rgba16.png --raw=grey16.png --raw=rgb8.png --raw=palette.png \
      --raw=grey-alpha.png --raw=grey-trns.png --raw=interlaced.png &&
    printf '1 ICON "kinds.ico"\n' >kinds.rc && i686-w64-mingw32-windres kinds.rc -O coff -o kinds.res &&
    printf 'int __stdcall DllMain(void* m, unsigned r, void* p) { (void)m; (void)r; (void)p; return 1; }\n' >entry.c &&
    i686-w64-mingw32-gcc -shared -nostdlib -nostartfiles -Wl,-e,_DllMain@12 -o kinds.dll entry.c kinds.res
) >"$work/kinds.txt" 2>&1 || fail "the module of PNG kinds was not built: $(tail -3 "$work/kinds.txt")"
windows --png -o "$(winpath "$work/kinds-win")" "$(winpath "$kinds/kinds.dll")" >/dev/null 2>&1
"$native" --png -o "$work/kinds-native" "$kinds/kinds.dll" >/dev/null 2>&1
[ "$(ls "$work/kinds-native" 2>/dev/null | wc -l)" = 7 ] || fail "PNG kinds: $(ls "$work/kinds-native" 2>/dev/null | wc -l) of 7 written"
diff <(signatures "$work/kinds-native") <(signatures "$work/kinds-win") >/dev/null ||
  fail "PNG kinds differ: $(diff <(signatures "$work/kinds-native") <(signatures "$work/kinds-win") | head -4)"
echo "PNG kinds (16-bit, RGB, palette, grey, tRNS, interlaced): $(signatures "$work/kinds-win" | wc -l) files pixel-equal in both builds"

# expect EXIT-CODE EXPECTED-ERROR-OUTPUT ARGUMENTS...
expect() {
  local code=$1 expected=$2; shift 2
  "$native" "$@" >"$work/out.txt" 2>"$work/err.txt"
  local rc=$?
  [ "$rc" = "$code" ] || fail "$*: exit code $rc, expected $code"
  [ "$(cat "$work/err.txt")" = "$expected" ] || fail "$*: printed '$(cat "$work/err.txt")', expected '$expected'"
}
printf 'just text\n' >"$work/notes.txt"
printf 'x' >"$work/blocker"
expect 1 "$work/missing.dll: unreadable: no such file or folder
$work/notes.txt: not a module
$sys/kernel32.dll: no icons
3 files, 0 icons written, 3 failed" -o "$work/out" "$work/missing.dll" "$work/notes.txt" "$sys/kernel32.dll"
[ ! -e "$work/out" ] || fail "an output folder was made for nothing"

written=$("$native" -o "$work/blocker" "$sys/comdlg32.dll" 2>&1 | grep -c "^$work/blocker/comdlg32-[0-9]*.ico: write failed: cannot create folder $work/blocker: ")
[ "$written" = 10 ] || fail "unwritable output folder: $written of 10 icons named as failed"
[ "$(cat "$work/blocker")" = x ] || fail "the file in the output folder's place changed"
[ -z "$(find "$work" -name '*.tmp')" ] || fail "temporary files left behind"

expect 1 "$work: is a folder (use -r to walk it)
1 files, 0 icons written, 1 failed" -o "$work/out" "$work"
for usage in "" "-j 0 x.dll" "-j" "-o" "--bogus x.dll" "--size 32 x.dll" "--png --size 0 x.dll"; do
  # shellcheck disable=SC2086
  "$native" $usage >/dev/null 2>&1
  rc=$?
  [ "$rc" = 2 ] || fail "'$usage': exit code $rc, expected 2"
done
[ "$status" = 0 ] && echo "PASS"
exit $status
