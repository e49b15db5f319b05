#!/usr/bin/env bash
# The Debian package of the native build, as a user's machine would get it:
#   package_test.sh NATIVE_BUILD_DIR THUMBNAIL_SAMPLES EXTRACT_ICONS
# cpack builds the .deb; its contents are listed with dpkg-deb, its dependencies must
# name the package of every library the program links (dpkg-shlibdeps found them), and
# lintian must report no error.  It is then installed with dpkg -i into a throw-away
# root (dpkg --root, never the machine's own), where the program, its man page and its
# bash completion are tried.  Last, GNOME's thumbnail factory runs the installed
# thumbnailer in its bwrap sandbox: in a mount namespace of this test only, /usr shows
# the throw-away root's files over the machine's, and /usr/share/thumbnailers only the
# package's entry.
set -u -o pipefail
build=$1 samples=$2 program=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$work"/package/*.deb)
echo "package: $(basename "$deb")"

dpkg-deb --contents "$deb" | awk '{print $6}' >"$work/contents.txt"
for path in ./usr/bin/extract-icons ./usr/share/man/man1/extract-icons.1.gz \
            ./usr/share/thumbnailers/extract-icons.thumbnailer \
            ./usr/share/bash-completion/completions/extract-icons \
            ./usr/share/doc/extract-icons/copyright ./usr/share/doc/extract-icons/changelog.gz; do
  grep -qx -- "$path" "$work/contents.txt" || fail "$path is not in the package"
done

# Every library the program links directly must come from a package that Depends names.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for soname in $(objdump -p "$program" | awk '$1 == "NEEDED" {print $2}'); do
  library=$(ldd "$program" | awk -v n="$soname" '$1 == n && $3 ~ /^\// {print $3}')
  [ -n "$library" ] || { fail "$soname is not found"; continue; }
  owner=$(dpkg -S "$(readlink -f "$library")" 2>/dev/null | head -1 | cut -d: -f1)
  [ -n "$owner" ] || owner=$(dpkg -S "$library" 2>/dev/null | head -1 | cut -d: -f1)
  [ -n "$owner" ] || { fail "no package owns $library"; continue; }
  [[ ", $depends," == *", $owner "* || ", $depends," == *", $owner,"* ]] || fail "Depends does not name $owner ($library)"
done

lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1
lintian_rc=$?
grep -v '^running with root privileges' "$work/lintian.txt" | sed 's/^/lintian: /'
[ "$lintian_rc" = 0 ] || fail "lintian reports errors"
echo "lintian: $(grep -c '^E:' "$work/lintian.txt") errors, $(grep -c '^W:' "$work/lintian.txt") warnings"

# A throw-away root whose dpkg database knows only the packages the .deb depends on,
# taken from the machine's, so that dpkg can check the dependencies.
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/available" "$root/var/lib/dpkg/status"
arch=$(dpkg --print-architecture)
for package in $(echo "$depends" | tr ',' '\n' | awk '{print $1}'); do
  stanza=$(dpkg-query -s "$package:$arch" 2>/dev/null || dpkg-query -s "$package") || { fail "$package is not installed"; continue; }
  printf '%s\n\n' "$stanza" >>"$root/var/lib/dpkg/status"
  # A package installed for several architectures keeps its file list under pkg:arch.
  if grep -qx 'Multi-Arch: same' <<<"$stanza"; then list=$package:$arch; else list=$package; fi
  touch "$root/var/lib/dpkg/info/$list.list"
done
dpkg --root="$root" -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -i into $root"; }
dpkg --root="$root" -L extract-icons >"$work/installed.txt" 2>&1 || fail "dpkg does not list the installed package"
grep -qx /usr/share/thumbnailers/extract-icons.thumbnailer "$work/installed.txt" || fail "the thumbnailer entry was not installed"
[ -z "$(dpkg -S /usr/bin/extract-icons 2>/dev/null)" ] || fail "the machine's own dpkg database lists extract-icons"

version=$("$root/usr/bin/extract-icons" --version)
[ "$version" = "extract-icons $(dpkg-deb -f "$deb" Version)" ] || fail "--version printed '$version'"
man -l "$root/usr/share/man/man1/extract-icons.1.gz" 2>"$work/man.txt" | grep -q 'EXIT STATUS' || fail "the man page does not render"
[ ! -s "$work/man.txt" ] || fail "the man page renders with warnings: $(head -3 "$work/man.txt")"
if [ -f /usr/share/bash-completion/bash_completion ]; then
  completion=$(bash -c 'source /usr/share/bash-completion/bash_completion
    source "$1"; COMP_WORDS=(extract-icons --thu); COMP_CWORD=1; COMP_LINE="extract-icons --thu"
    COMP_POINT=${#COMP_LINE}; _extract_icons; echo "${COMPREPLY[*]}"' bash \
    "$root/usr/share/bash-completion/completions/extract-icons")
  [ "$completion" = --thumbnail ] || fail "bash completion of --thu gave '$completion'"
else
  fail "bash-completion is not installed"
fi

# GNOME's factory, with the package's files over /usr in a private mount namespace.
unshare --mount --propagation private sh -c '
  mount -t overlay overlay -o "lowerdir=$1/usr:/usr" /usr &&
  mount --bind "$1/usr/share/thumbnailers" /usr/share/thumbnailers &&
  exec /usr/bin/python3 "$2/thumbnail_clients.py" gnome "$3"' sh "$root" "$here" "$samples" || fail "GNOME's thumbnail factory"

[ "$status" = 0 ] && echo PASS
exit $status
