#!/usr/bin/env bash
# Installs 32-bit Wine (wine32:i386) beside wine64, so that the 32-bit DLL
# can be run. Multi-arch needs each shared library at one version on amd64
# and i386, and the i386 index may lag behind the amd64 one (its security
# index may fail to download). So the install prefers the release's own
# versions, which both architectures have, and an amd64 library that is
# newer than any i386 build is moved back to the release's version when the
# install needs it. Never fails: prints what stood in the way and exits 0;
# the caller checks for wine32.
set -uo pipefail
export DEBIAN_FRONTEND=noninteractive
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

dpkg -s wine32:i386 >/dev/null 2>&1 && exit 0
$sudo dpkg --add-architecture i386
$sudo apt-get update -qq >/dev/null 2>&1 || true

release=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
options=(-y -q --allow-downgrades -o "APT::Default-Release=$release")

# Some kernels are built without 32-bit x86 support. Wine's wrapper then
# picks the 32-bit loader, which cannot start, and 64-bit Wine breaks too:
# find out with the 32-bit C library first.
$sudo apt-get install "${options[@]}" libc6:i386 >/dev/null 2>&1 || true
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  echo "wine32:i386 not installed: this kernel ($(uname -r)) does not run 32-bit x86 programs" \
       "($(/lib/ld-linux.so.2 --version 2>&1 | head -1 | sed 's/.*: //'))" >&2
  # Leave the machine as it was: no i386 packages, no i386 indexes.
  $sudo apt-get purge -y -qq --allow-remove-essential '?architecture(i386)' >/dev/null 2>&1 &&
    $sudo dpkg --remove-architecture i386 && $sudo apt-get update -qq >/dev/null 2>&1 || true
  exit 0
fi
align=()
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for _ in 1 2 3 4 5 6; do
  if $sudo apt-get install -s "${options[@]}" "${align[@]}" wine32:i386 >"$log" 2>&1; then
    if $sudo apt-get install "${options[@]}" "${align[@]}" wine32:i386 >"$log" 2>&1; then
      echo "wine32 installed${align[*]:+, with ${align[*]}}"
    else
      echo "wine32:i386 could not be installed:" >&2
      tail -5 "$log" >&2
    fi
    exit 0
  fi
  # The packages the resolver could not place: when the amd64 one is newer
  # than the i386 candidate, take the candidate's version on amd64 too.
  added=0
  for name in $(grep -oE '(^ *|Depends: )[a-z0-9][a-z0-9.+-]*(:i386)? ' "$log" |
                 sed -E 's/^ *(Depends: )?//; s/(:i386)? $//' | sort -u); do
    installed=$(dpkg-query -W -f '${Version}' "$name:amd64" 2>/dev/null) || continue
    candidate=$(apt-cache policy "$name:i386" | awk '/Candidate:/ {print $2}')
    [ -n "$candidate" ] && [ "$candidate" != "(none)" ] && [ "$candidate" != "$installed" ] || continue
    case " ${align[*]} " in *" $name:amd64="*) continue ;; esac
    align+=("$name:amd64=$candidate")
    added=1
  done
  [ "$added" = 1 ] || break
done
echo "wine32:i386 could not be installed; the package manager reported:" >&2
grep -E 'Depends|Breaks|^E:' "$log" | head -20 >&2
exit 0
