#!/usr/bin/env bash
# Prepares a Debian 12 machine (as root) for building and running the project:
# cross and native compilers, Wine, a virtual X server, fonts, CMake and the Chinese
# locale; for the thumbnail tests, the thumbnail service tumbler with D-Bus, GNOME's
# thumbnail factory (through Python) with bwrap, and dpkg-dev and lintian for the
# Debian package.
# Skips what is already there, so a second run costs about a second.
#
# This machine kind runs a kernel with 32-bit emulation switched off, so i386
# Linux programs (Wine's 32-bit loader) cannot be executed directly.  Wine's
# 64-bit side runs natively; its 32-bit loader is run through qemu-i386, which
# binfmt_misc starts for every i386 ELF file (tools/binfmt-i386.sh); tools/wine-run.sh
# runs the project's programs that way.
set -euo pipefail

have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  rm -f /var/lib/apt/lists/lock.updated
fi

need=()
for p in g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686 wine wine64 wine32:i386 \
         g++ xvfb x11-utils fonts-wqy-microhei fonts-wine locales cmake make imagemagick icoutils libpng-dev \
         googletest \
         tumbler dbus python3-gi gir1.2-gdkpixbuf-2.0 gir1.2-gnomedesktop-3.0 bubblewrap shared-mime-info \
         dpkg-dev lintian man-db bash-completion; do
  have "$p" || need+=("$p")
done

if [ ${#need[@]} -gt 0 ]; then
  "$(dirname "$0")/apt-install.sh" "${need[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi

# qemu-user from bookworm-backports (10.x): under bookworm's own 7.2, a thread of
# Wine's folder browser faults inside a system call while it lists the drives, and
# the program hangs or crashes in about half of the runs.  10.x runs it steadily.
qemu_wanted=1:10.0
if ! dpkg --compare-versions "$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null || echo 0)" ge "$qemu_wanted"; then
  backports=/etc/apt/sources.list.d/bookworm-backports.sources
  if [ ! -f "$backports" ]; then
    printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm-backports' \
      'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' > "$backports"
  fi
  "$(dirname "$0")/apt-install.sh" -t bookworm-backports qemu-user
fi

"$(dirname "$0")/binfmt-i386.sh"
