#!/usr/bin/env bash
# Sets the machine up, builds everything and starts the tool under Wine.  With no
# display, the tool runs on a virtual X server; a screenshot of that screen is saved
# under the build folder after a few seconds and the tool is then closed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/prepare.sh"

program=""
for candidate in "$build/app/IconExtractor.exe" "$build/tests/programs/test_program.exe"; do
  if [ -f "$candidate" ]; then program=$candidate; break; fi
done
[ -n "$program" ] || { echo "no program image has been built" >&2; exit 1; }

# A Wine virtual desktop draws window frames and captions (Xvfb has no window manager).
run=("$root/tools/wine-run.sh" --prefix "$build/wineprefix" explorer /desktop=IconExtractor,1024x768 "$program")
if [ -n "${DISPLAY:-}" ]; then
  exec "${run[@]}"
fi

"${run[@]}" &
pid=$!
sleep "${SCREENSHOT_DELAY:-12}"
display=$(cat "$build/wineprefix.state/display")
shot="$build/screenshot.png"
import -display "$display" -window root "$shot"
echo "screenshot of the virtual screen: $shot"
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
wait $pid 2>/dev/null || true
