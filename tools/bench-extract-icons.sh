#!/usr/bin/env bash
# Times extract-icons against the reference tool wrestool over every .dll and .exe of the Wine
# prefix's 32-bit system folder, in the same run:
#   tools/bench-extract-icons.sh
# extract-icons (the Linux build) runs once with -r over a folder of links to those
# files; wrestool -x -t14 runs once per file.  The Windows build's time under Wine is
# shown too.  Then every group file wrestool wrote is compared image by image with the
# file extract-icons wrote for the same group (found through --list): biSizeImage,
# which extract-icons writes as 0, and anything wrestool writes after the last image
# are left out of the comparison.
# Targets: extract-icons takes at most half of wrestool's time and writes a group for
# every group wrestool writes; the exit code is 1 when either is missed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
native=$build/native/extract-icons
exe=$build/cli/extract-icons.exe
prefix=$build/wineprefix
command -v wrestool >/dev/null || { echo "wrestool is missing" >&2; exit 1; }
[ -x "$native" ] && [ -f "$exe" ] || { echo "build first: tools/build.sh" >&2; exit 1; }
"$root/tools/wine-run.sh" --prefix "$prefix" "$exe" --help >/dev/null  # creates the prefix once
sys=$prefix/drive_c/windows/syswow64

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/input" "$work/wrestool"
for f in "$sys"/*.dll "$sys"/*.exe; do ln -s "$f" "$work/input/"; done
modules=$(ls "$work/input" | wc -l)

now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

start=$(now)
"$native" -r -o "$work/ours" "$work/input" 2>"$work/ours.txt" || true
ours_time=$(seconds "$start" "$(now)")

start=$(now)
for f in "$work/input"/*; do wrestool -x -t14 -o "$work/wrestool/" "$f" 2>/dev/null || true; done
wrestool_time=$(seconds "$start" "$(now)")

start=$(now)
"$root/tools/wine-run.sh" --prefix "$prefix" "$exe" -r -o "Z:${work//\//\\}\\windows" "Z:${work//\//\\}\\input" \
  >/dev/null 2>&1 || true
wine_time=$(seconds "$start" "$(now)")

"$native" --list -r "$work/input" >"$work/list.txt" 2>/dev/null || true

python3 - "$work" "$ours_time" "$wrestool_time" "$wine_time" "$modules" <<'EOF'
import os, struct, sys
work, ours_time, wrestool_time, wine_time, modules = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4]), sys.argv[5]

def images(path):
    """The images of an .ico file, each with biSizeImage cleared when it is a bitmap."""
    data = open(path, 'rb').read()
    count = struct.unpack_from('<H', data, 4)[0]
    result = []
    for i in range(count):
        size, offset = struct.unpack_from('<II', data, 6 + 16 * i + 8)
        image = bytearray(data[offset:offset + size])
        if len(image) != size:
            return None
        if not image.startswith(b'\x89PNG') and len(image) >= 24:
            image[20:24] = b'\0\0\0\0'
        result.append(bytes(image))
    return result

# Group numbers of our list, by module file name and resource name.
numbers = {}
for line in open(os.path.join(work, 'list.txt'), encoding='latin-1'):
    path, number, name, _ = line.rstrip('\n').split('\t', 3)
    numbers[(os.path.basename(path), name.strip('"'))] = int(number)

ours_written = sum(len(files) for _, _, files in os.walk(os.path.join(work, 'ours')))
theirs = sorted(os.listdir(os.path.join(work, 'wrestool')))
missing, differing = [], []
for name in theirs:
    module, rest = name.split('_14_', 1)
    resource = rest[:rest.rindex('_')]  # then the language and ".ico"
    number = numbers.get((module, resource))
    stem = module.rsplit('.', 1)[0]
    candidates = [os.path.join(work, 'ours', f'{t}-{number}.ico') for t in (module, stem)]
    ours = next((c for c in candidates if os.path.exists(c)), None) if number else None
    if ours is None:
        missing.append(f'{module} group {resource}')
    elif images(ours) != images(os.path.join(work, 'wrestool', name)):
        differing.append(f'{module} group {resource}')

print(f'modules: {modules} (.dll and .exe of the Wine system folder)')
print(f'extract-icons (Linux):          {ours_time:8.3f} s, {ours_written} groups written')
print(f'wrestool -x -t14 (one per file): {wrestool_time:7.3f} s, {len(theirs)} groups written')
print(f'extract-icons.exe (under Wine): {wine_time:8.3f} s')
print(f'time ratio extract-icons / wrestool: {ours_time / wrestool_time:.3f} (target at most 0.5)')
print(f'groups wrestool wrote that extract-icons did not: {len(missing)}')
print(f'groups whose images differ: {len(differing)}')
disagree = sorted({g.split(' group ')[0] for g in missing + differing})
print('modules where the two disagree: ' + (', '.join(disagree) if disagree else 'none'))
for g in (missing + differing)[:20]:
    print('  ' + g)
sys.exit(0 if ours_time <= wrestool_time / 2 and not missing else 1)
EOF
