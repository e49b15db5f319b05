#!/usr/bin/env bash
#   tools/apt-install.sh [APT-GET-OPTIONS...] PACKAGE...
# installs Debian packages without recommends, quietly.  A mirror mid-sync or a dropped
# connection makes `apt-get update` report an index error now and then.  Such an
# error is not fatal while the packages can still be installed from the indexes
# that did arrive, so each try refreshes the indexes, ignores their errors, and
# installs; three tries with a pause between them.  When all fail, the last
# install's message names the package and the reason.
export DEBIAN_FRONTEND=noninteractive

codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
log=$(mktemp)
for try in 1 2 3; do
  apt-get update -qq >"$log" 2>&1 || sed 's/^/apt-install: apt-get update (ignored): /' "$log" >&2
  if apt-get install -y -qq --no-install-recommends "$@" >"$log" 2>&1; then
    rm -f "$log"
    exit 0
  fi
  # A missing index of one architecture (say the security suite's i386 one) leaves
  # the two architectures of a library at different candidate versions, which
  # multiarch forbids.  Preferring the release's own suite gives both the same.
  if [ "${1:-}" != -t ] &&
     apt-get install -y -qq --no-install-recommends -t "$codename" "$@" >"$log" 2>&1; then
    rm -f "$log"
    exit 0
  fi
  [ "$try" = 3 ] || { echo "apt-install: installing failed (try $try of 3), again in $((try * 10)) s" >&2; sleep $((try * 10)); }
done
echo "apt-install: could not install: $*" >&2
grep -E '^(E|W):' "$log" >&2 || cat "$log" >&2
rm -f "$log"
exit 1
