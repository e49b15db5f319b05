#!/usr/bin/env bash
# Lets the kernel start i386 ELF programs through qemu-i386 when it cannot run
# them itself (32-bit emulation disabled).  Needs root; does nothing when i386
# programs already run or the handler is registered.
set -euo pipefail

probe=/usr/lib/wine/wine
if "$probe" --version >/dev/null 2>&1; then exit 0; fi

misc=/proc/sys/fs/binfmt_misc
[ -e "$misc/register" ] || mount -t binfmt_misc binfmt_misc "$misc"
if [ ! -e "$misc/qemu-i386" ]; then
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:' \
    > "$misc/register"
fi
"$probe" --version >/dev/null
