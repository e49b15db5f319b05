#!/usr/bin/env bash
# The Linux build of extract-icons against the Windows build run under Wine, over the
# whole 32-bit system folder of the Wine prefix and over byte-built damaged modules
# (tests/cli/test_inputs.cpp): the same icon files byte for byte in the same mirrored
# folders, the same list, messages and exit codes; the same list from --files-from; the
# same PNG files pixel for pixel.
# Then the Linux build alone on what Windows cannot hold or do: special files, links,
# unreadable entries, a tree deeper than PATH_MAX, names with control characters; and
# writes that fail part way or are killed part way, which must leave nothing behind
# (with unnamed files, and with temporary names), also under Wine on a full drive.
#   native_test.sh NATIVE_PROGRAM WINDOWS_PROGRAM WINE_PREFIX
set -u -o pipefail
native=$(realpath "$1") exe=$(realpath "$2") prefix=$(realpath -m "$3")
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
small=$work/small
cleanup() {
  mountpoint -q "$small" 2>/dev/null && umount "$small"
  chmod -R u+rwx "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
winpath() { printf 'Z:%s' "${1//\//\\}"; }
windows() { "$root/tools/wine-run.sh" --prefix "$prefix" "$exe" "$@" | tr -d '\r' | sed 's|\\|/|g'; }
# The test inputs, and a library that hides unnamed files from the tool: both built
# with the native tree (tests/CMakeLists.txt), beside the native program.
helpers=$(dirname "$native")/tests/cli
no_tmpfile=$helpers/no_tmpfile.so signal_mid_write=$helpers/signal_mid_write.so
[ -f "$no_tmpfile" ] && [ -f "$signal_mid_write" ] ||
  { echo "FAIL: no $no_tmpfile or $signal_mid_write: build the native tree (tools/build.sh)"; exit 1; }
in=$work/in
mkdir -p "$in/damaged"
"$helpers/cli_test_inputs" "$in" || { echo "FAIL: cannot make the test inputs"; exit 1; }

# The first Wine run creates the prefix; both builds then run in its system folder.
windows --help >/dev/null 2>&1
sys=$prefix/drive_c/windows/syswow64
[ -d "$sys" ] || { echo "FAIL: no Wine system folder at $sys"; exit 1; }
cd "$sys"
windows -r -v -o "$(winpath "$work/win")" . >"$work/win.txt"; win_rc=${PIPESTATUS[0]}
"$native" -r -v -o "$work/native" . >"$work/native.txt" 2>&1; native_rc=$?
[ "$native_rc" = "$win_rc" ] || fail "exit codes differ: Linux $native_rc, Windows $win_rc"
diff "$work/native.txt" "$work/win.txt" >/dev/null || fail "messages differ: $(diff "$work/native.txt" "$work/win.txt" | head -5)"
diff -r "$work/native" "$work/win" >/dev/null || fail "icon files differ: $(diff -rq "$work/native" "$work/win" | head -5)"
icons=$(find "$work/native" -name '*.ico' | wc -l)
[ "$icons" -gt 200 ] || fail "only $icons icon files written"
# Files without icons are skipped (named with -v), not failed.
tail -1 "$work/native.txt" | grep -q ' [1-9][0-9]* skipped, 0 failed$' || fail "system folder: $(tail -1 "$work/native.txt")"
grep -q '^./kernel32.dll: skipped: no icons$' "$work/native.txt" || fail "kernel32.dll not named as skipped"
[ "$native_rc" = 0 ] || fail "system folder: exit code $native_rc"
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

# --files-from: the same list as the same paths given as arguments, from standard input
# with NUL-separated names, and under Wine from a file with CRLF line ends.
find . -maxdepth 1 -name '*.dll' -print0 | sort -z >"$work/paths0"
mapfile -d '' paths <"$work/paths0"
"$native" --list "${paths[@]}" >"$work/args-list.txt" 2>&1
"$native" --list --files-from - -0 <"$work/paths0" >"$work/from-list.txt" 2>&1
cmp -s "$work/args-list.txt" "$work/from-list.txt" || fail "--files-from - -0: $(diff "$work/args-list.txt" "$work/from-list.txt" | head -3)"
tr '\0' '\n' <"$work/paths0" | sed 's/$/\r/' >"$work/paths.txt"
windows --list --files-from "$(winpath "$work/paths.txt")" >"$work/win-from-list.txt"
cmp -s "$work/args-list.txt" "$work/win-from-list.txt" || fail "--files-from under Wine: $(diff "$work/args-list.txt" "$work/win-from-list.txt" | head -3)"
[ "${#paths[@]}" -gt 300 ] || fail "only ${#paths[@]} paths in the list"

# Damaged modules: each fails where it is damaged, and the good groups of a file are
# still written; both builds alike.
cd "$in"
damaged=(damaged/cut-header.dll damaged/cut-resources.dll damaged/cut-sections.dll damaged/huge-size.dll
         damaged/missing-image.dll damaged/ne-group-outside.icl damaged/ne-shift.icl damaged/short-image.dll)
"$native" -o "$work/damaged-native" "${damaged[@]}" >"$work/damaged-native.txt" 2>&1; native_rc=$?
windows -o "$(winpath "$work/damaged-win")" "${damaged[@]}" >"$work/damaged-win.txt"; win_rc=${PIPESTATUS[0]}
[ "$native_rc" = 1 ] && [ "$win_rc" = 1 ] || fail "damaged modules: exit codes $native_rc (Linux), $win_rc (Windows)"
[ "$(cat "$work/damaged-native.txt")" = "damaged/cut-header.dll: damaged module: optional header outside the file
damaged/cut-resources.dll: damaged module: resource directory outside the file
damaged/cut-sections.dll: damaged module: section table outside the file
damaged/huge-size.dll: icon 2 (2): damaged module: image 2 lies outside the file
damaged/missing-image.dll: icon 2 (2): damaged module: image 999 is missing
damaged/ne-group-outside.icl: icon 3 (\"NA\\u0022ME\\u005CD\\u00C0\"): damaged module: group data outside the file
damaged/ne-shift.icl: damaged module: resource alignment shift 200 over 24
damaged/short-image.dll: icon 2 (2): damaged module: image 2 is shorter than its header says (104 of 4264 bytes)
8 files (4 with icons), 10 icons written, 0 skipped, 8 failed" ] || fail "damaged modules: $(cat "$work/damaged-native.txt")"
# windows() turns every backslash into a slash, the escapes of names included.
sed 's|\\|/|g' "$work/damaged-native.txt" >"$work/damaged-native-slashed.txt"
diff "$work/damaged-native-slashed.txt" "$work/damaged-win.txt" >/dev/null ||
  fail "damaged modules: messages differ: $(diff "$work/damaged-native-slashed.txt" "$work/damaged-win.txt" | head -5)"
diff -r "$work/damaged-native" "$work/damaged-win" >/dev/null || fail "damaged modules: icon files differ"
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
  timeout 60 "$native" "$@" >"$work/out.txt" 2>"$work/err.txt"
  local rc=$?
  [ "$rc" = "$code" ] || fail "$*: exit code $rc, expected $code"
  [ "$(cat "$work/err.txt")" = "$expected" ] || fail "$*: printed '$(cat "$work/err.txt")', expected '$expected'"
}
printf 'just text\n' >"$work/notes.txt"
printf 'x' >"$work/blocker"
mkfifo "$work/pipe"
socket() { perl -MIO::Socket::UNIX -e 'IO::Socket::UNIX->new(Type => SOCK_STREAM(), Local => $ARGV[0], Listen => 1) or die "$!"' "$1"; }
socket "$work/socket"
expect 1 "$work/missing.dll: unreadable: no such file or folder
$work/notes.txt: not a module
$sys/kernel32.dll: no icons
$work/pipe: not a regular file
/dev/null: not a regular file
$work/socket: not a regular file
6 files (0 with icons), 0 icons written, 0 skipped, 6 failed" -o "$work/out" "$work/missing.dll" "$work/notes.txt" \
  "$sys/kernel32.dll" "$work/pipe" /dev/null "$work/socket"
[ ! -e "$work/out" ] || fail "an output folder was made for nothing"

written=$("$native" -o "$work/blocker" "$sys/comdlg32.dll" 2>&1 | grep -c "^$work/blocker/comdlg32-[0-9]*.ico: write failed: cannot create folder $work/blocker: ")
[ "$written" = 10 ] || fail "unwritable output folder: $written of 10 icons named as failed"
[ "$(cat "$work/blocker")" = x ] || fail "the file in the output folder's place changed"
[ -z "$(find "$work" -name '*.tmp')" ] || fail "temporary files left behind"

expect 1 "$work: is a folder (use -r to walk it)
1 files (0 with icons), 0 icons written, 0 skipped, 1 failed" -o "$work/out" "$work"
for usage in "" "-j 0 x.dll" "-j" "-o" "--bogus x.dll" "-0 x.dll" "--files-from" "--size 32 x.dll" \
             "--png --size 0 x.dll"; do
  # shellcheck disable=SC2086
  "$native" $usage >/dev/null 2>&1
  rc=$?
  [ "$rc" = 2 ] || fail "'$usage': exit code $rc, expected 2"
done

# A walk reads regular files only: special files (FIFO, device, socket) and links that
# lead nowhere (or to a folder) are skipped, not failed, and named with -v only.
special=$work/special
mkdir -p "$special/real"
mkfifo "$special/fifo"
socket "$special/socket"
ln -s /dev/null "$special/device"
ln -s nowhere "$special/dangling"
ln -s loop "$special/loop"
ln -s real "$special/folder-link"
cp "$sys/comdlg32.dll" "$special/real/icons.dll"
ln -s real/icons.dll "$special/file-link.dll"
expect 0 "1 files (1 with icons), 10 icons written, 0 skipped, 0 failed" -r -o "$work/special-out" "$special/real"
expect 0 "$special/dangling: skipped: link leads nowhere
$special/device: skipped: not a regular file
$special/fifo: skipped: not a regular file
$special/folder-link: skipped: link to a folder (not walked)
$special/loop: skipped: link loops
$special/socket: skipped: not a regular file
8 files (2 with icons), 20 icons written, 6 skipped, 0 failed" -r -v -o "$work/special-out" "$special"

# Entries that exist but cannot be read fail with their reasons (as a user without
# privileges, who is refused what root would be allowed).
perm=$work/perm
mkdir -p "$perm/locked" "$perm/noexec" "$work/perm-out"
cp "$sys/comdlg32.dll" "$perm/good.dll"
cp "$sys/comdlg32.dll" "$perm/secret.dll"
cp "$sys/comdlg32.dll" "$perm/noexec/a.dll"
chmod 000 "$perm/locked" "$perm/secret.dll"
chmod 644 "$perm/noexec"
chmod 755 "$work"
chmod 777 "$work/perm-out"
as_user=()
[ "$(id -u)" = 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
"${as_user[@]}" "$native" -r -o "$work/perm-out" "$perm" >/dev/null 2>"$work/err.txt"; rc=$?
[ "$rc" = 1 ] || fail "unreadable entries: exit code $rc"
[ "$(cat "$work/err.txt")" = "$perm/secret.dll: unreadable: Permission denied
$perm/locked: unreadable folder: Permission denied
$perm/noexec/a.dll: cannot be examined: Permission denied
4 files (1 with icons), 10 icons written, 0 skipped, 3 failed" ] || fail "unreadable entries: $(cat "$work/err.txt")"
chmod -R u+rwx "$perm"

# A tree deeper than PATH_MAX is walked, and mirrored, whatever its depth.
long=$(printf 'd%.0s' $(seq 120))
(cd "$work" && mkdir deep && cd deep && for _ in $(seq 40); do mkdir "$long" && cd "$long" || exit 1; done &&
  cp "$sys/comdlg32.dll" .) || fail "cannot make the deep tree"
expect 0 "1 files (1 with icons), 10 icons written, 0 skipped, 0 failed" -r -o "$work/deep-out" "$work/deep"
[ "$(find "$work/deep-out" -name '*.ico' | wc -l)" = 10 ] || fail "deep tree: icon files not mirrored"

# --list escapes control characters and backslashes in file names as in resource names.
names=$work/names
mkdir "$names"
for name in $'tab\there.dll' $'new\nline.dll' 'back\slash.dll'; do cp "$sys/comdlg32.dll" "$names/$name"; done
"$native" --list -r "$names" >"$work/names.txt" 2>/dev/null
[ "$(cut -f1 "$work/names.txt" | uniq)" = "$names/back\\u005Cslash.dll
$names/new\\u000Aline.dll
$names/tab\\u0009here.dll" ] || fail "file names in --list: $(cut -f1 "$work/names.txt" | uniq)"
[ "$(awk -F'\t' 'NF != 4' "$work/names.txt")" = "" ] || fail "--list lines without four fields"

# A write that fails part way (a file size limit) leaves nothing and says why, through
# an unnamed file and through a temporary name.
for preload in "" "$no_tmpfile"; do
  rm -rf "$work/full" && mkdir "$work/full"
  (ulimit -f 1024; trap '' XFSZ; LD_PRELOAD=$preload exec "$native" -o "$work/full" "$in/repeated.dll") \
    >/dev/null 2>"$work/err.txt"; rc=$?
  [ "$rc" = 1 ] || fail "failed write ${preload:+(temporary names)}: exit code $rc"
  [ "$(cat "$work/err.txt")" = "$work/full/repeated-1.ico: write failed: File too large
1 files (1 with icons), 0 icons written, 0 skipped, 1 failed" ] || fail "failed write: $(cat "$work/err.txt")"
  [ -z "$(ls -A "$work/full")" ] || fail "failed write ${preload:+(temporary names)} left $(ls -A "$work/full")"
done

# kill_during_write SIGNAL [PRELOAD]: kills a write of a 252 MiB icon file once 4 MiB
# of it are written (tests/cli/signal_mid_write.c), then nothing may remain.
kill_during_write() {
  local signal=$1 preload=${2:-} rc
  rm -rf "$work/killed" && mkdir "$work/killed"
  # (SIGINT is restored in case the test itself was started with it ignored.)
  SIGNAL_AFTER_BYTES=4194304 SIGNAL_NUMBER=$(kill -l "$signal") LD_PRELOAD="$signal_mid_write $preload" \
    env --default-signal=INT "$native" -j 1 -o "$work/killed" "$in/repeated.dll" 2>/dev/null; rc=$?
  [ "$rc" = $((128 + $(kill -l "$signal"))) ] ||
    { fail "kill ($signal${preload:+, temporary names}): exit code $rc, not the signal's"; return; }
  [ -z "$(ls -A "$work/killed")" ] || fail "kill ($signal${preload:+, temporary names}) left $(ls -A "$work/killed")"
}
kill_during_write TERM
kill_during_write KILL
kill_during_write INT "$no_tmpfile"
kill_during_write TERM "$no_tmpfile"

# Under Wine and on Linux, a write that fails on a full drive leaves nothing and gives
# the system's reason.
mkdir "$small"
if mount -t tmpfs -o size=2m tmpfs "$small" 2>/dev/null; then
  windows -o "$(winpath "$small/win")" "$(winpath "$in/repeated.dll")" >"$work/err.txt"; rc=${PIPESTATUS[0]}
  [ "$rc" = 1 ] || fail "full drive under Wine: exit code $rc"
  grep -q "^Z:$small/win/repeated-1.ico: write failed: .* (error 112)$" "$work/err.txt" ||
    fail "full drive under Wine: $(cat "$work/err.txt")"
  [ -z "$(ls -A "$small/win")" ] || fail "full drive under Wine left $(ls -A "$small/win")"
  expect 1 "$small/native/repeated-1.ico: write failed: No space left on device
1 files (1 with icons), 0 icons written, 0 skipped, 1 failed" -o "$small/native" "$in/repeated.dll"
  [ -z "$(ls -A "$small/native")" ] || fail "full drive left $(ls -A "$small/native")"
  umount "$small"
else
  echo "SKIP: the full drive (a 2 MiB tmpfs) cannot be mounted here"
fi

[ "$status" = 0 ] && echo "PASS"
exit $status
