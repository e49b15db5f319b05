#!/usr/bin/env bash
# Prepares a Debian 12 machine (as root) for building and running the project:
# cross and native compilers, Wine, a virtual X server, fonts, CMake and the Chinese
# locale.
# Skips what is already there, so a second run costs about a second.
#
# This machine kind runs a kernel with 32-bit emulation switched off, so i386
# Linux programs (Wine's 32-bit loader) cannot be executed directly.  Wine's
# 64-bit side runs natively; its 32-bit loader is run through qemu-i386, which
# binfmt_misc starts for every i386 ELF file (tools/binfmt-i386.sh); tools/wine-run.sh
# runs the project's programs that way.
set -euo pipefail

have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# apt_install [APT-GET-OPTIONS...] PACKAGE...: a mirror mid-sync or a dropped
# connection makes `apt-get update` report an index error now and then.  Such an
# error is not fatal while the packages can still be installed from the indexes
# that did arrive, so each try refreshes the indexes, ignores their errors, and
# installs; three tries with a pause between them.  When all fail, the last
# install's message names the package and the reason.
apt_install() {
  export DEBIAN_FRONTEND=noninteractive
  local try log codename
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  log=$(mktemp)
  for try in 1 2 3; do
    apt-get update -qq >"$log" 2>&1 || sed 's/^/setup: apt-get update (ignored): /' "$log" >&2
    if apt-get install -y -qq --no-install-recommends "$@" >"$log" 2>&1; then
      rm -f "$log"
      return 0
    fi
    # A missing index of one architecture (say the security suite's i386 one) leaves
    # the two architectures of a library at different candidate versions, which
    # multiarch forbids.  Preferring the release's own suite gives both the same.
    if [ "${1:-}" != -t ] &&
       apt-get install -y -qq --no-install-recommends -t "$codename" "$@" >"$log" 2>&1; then
      rm -f "$log"
      return 0
    fi
    [ "$try" = 3 ] || { echo "setup: installing failed (try $try of 3), again in $((try * 10)) s" >&2; sleep $((try * 10)); }
  done
  echo "setup: could not install: $*" >&2
  grep -E '^(E|W):' "$log" >&2 || cat "$log" >&2
  rm -f "$log"
  return 1
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  rm -f /var/lib/apt/lists/lock.updated
fi

need=()
for p in g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686 wine wine64 wine32:i386 \
         g++ xvfb x11-utils fonts-wqy-microhei locales cmake make imagemagick icoutils libpng-dev \
         googletest; do
  have "$p" || need+=("$p")
done

if [ ${#need[@]} -gt 0 ]; then
  apt_install "${need[@]}"
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
  apt_install -t bookworm-backports qemu-user
fi

"$(dirname "$0")/binfmt-i386.sh"
