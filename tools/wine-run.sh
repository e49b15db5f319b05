#!/usr/bin/env bash
# Runs one Windows program of the project under Wine:
#   tools/wine-run.sh --prefix DIR PROGRAM.exe [ARGS...]
# with the project's own Wine prefix DIR, the Chinese locale (ANSI code page
# 936), one persistent wineserver for the whole run, and a virtual X server
# when no display is set.  The program's exit code is passed through.
#
# Every program gets the display, even one that opens no window: all programs of a
# prefix share one desktop process, started by the first program that needs it and
# kept while programs use it, and a desktop started without a display gives no
# program after it a window (CreateWindowEx fails: "no driver could be loaded").
#
# The 32-bit Wine loader runs under qemu-i386 (see tools/setup.sh).  Wine
# reserves the whole 32-bit address space at start-up, one mmap at a time,
# which costs qemu about 45 s when its guest space is 4 GiB; a guest space of
# 2 GiB + 16 MiB keeps everything Wine needs and starts in about 2 s.
set -euo pipefail

if [ "${1:-}" = "--prefix" ]; then prefix=$2; shift 2; else prefix=${WINEPREFIX:-$PWD/wineprefix}; fi
prefix=$(realpath -m "$prefix")
[ $# -ge 1 ] || { echo "usage: $0 --prefix DIR PROGRAM.exe [ARGS...]" >&2; exit 2; }

here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=$prefix
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export QEMU_RESERVED_VA=${QEMU_RESERVED_VA:-0x81000000}
# No Gecko/Mono installers, and no debugger on a crash: a crashed program ends instead
# of waiting in the debugger until the test's time-out.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
mkdir -p "$prefix"
state=$prefix.state
mkdir -p "$state"

"$here/binfmt-i386.sh" 2>/dev/null || true

# A virtual X server per prefix, kept alive across runs.
if [ -z "${DISPLAY:-}" ]; then
  exec 8>"$state/xvfb.lock"
  flock 8
  if [ -f "$state/display" ] && xdpyinfo -display "$(cat "$state/display")" >/dev/null 2>&1; then
    DISPLAY=$(cat "$state/display")
  else
    for n in $(seq 90 130); do
      [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
      setsid nohup Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 </dev/null 8>&- &
      for _ in $(seq 50); do xdpyinfo -display ":$n" >/dev/null 2>&1 && break; sleep 0.1; done
      echo ":$n" > "$state/display"; DISPLAY=":$n"; break
    done
  fi
  export DISPLAY
  flock -u 8
fi

# Create the prefix once; keep one wineserver alive for the run.  The server and
# Wine's system processes outlive this program, so they must not inherit its output
# (CTest waits for the output pipe to close).
exec 9>"$state/prefix.lock"
flock 9
if [ ! -f "$prefix/system.reg" ]; then
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 </dev/null 8>&- 9>&- || true
fi
socket=$(printf '/tmp/.wine-%d/server-%x-%x/socket' "$(id -u)" "$(stat -c %d "$prefix")" "$(stat -c %i "$prefix")")
if [ ! -S "$socket" ]; then
  wineserver -p >/dev/null 2>&1 </dev/null 8>&- 9>&- || true
  /usr/lib/wine/wine64 wineboot >/dev/null 2>&1 </dev/null 8>&- 9>&- || true
fi
# Wine draws caption buttons, scroll arrows and check marks with the Marlett font.
# Debian's fonts-wine holds it, but this Wine does not read that folder, and without
# it the buttons show as the letters "0 1 r": the prefix gets a copy, as Windows has.
marlett=/usr/share/wine/fonts/marlett.ttf
if [ -f "$marlett" ] && [ -d "$prefix/drive_c/windows/Fonts" ] && [ ! -f "$prefix/drive_c/windows/Fonts/marlett.ttf" ]; then
  cp "$marlett" "$prefix/drive_c/windows/Fonts/"
fi
# Wine links the user's shell folders (Desktop, Documents, ...) to $HOME.  Tests write into
# the desktop folder and may rename it, which through a link would touch $HOME itself, so
# the project's prefix gets folders of its own.  A marker file keeps Wine from turning a
# folder back into a link (it replaces only links and empty folders).
for link in "$prefix"/drive_c/users/*/*; do
  if [ -L "$link" ]; then
    rm "$link" && mkdir "$link" && : > "$link/.own-folder"
  fi
done
flock -u 9
exec 8>&- 9>&-

# Wine starts helper processes on demand (the desktop process among them) that inherit
# the program's output and outlive it; the output goes through a file so that whoever
# reads ours sees it end when the program ends.
out=$(mktemp "$state/output.XXXXXX")
set +e
/usr/lib/wine/wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
