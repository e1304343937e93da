#!/usr/bin/env bash
# Keeps the C# and Pascal declarations of README.md in step with
# include/tq587.h: both declare exactly the header's fifteen functions, and
# the Pascal unit compiles with fpc, links against libTQ587.so and gives the
# results the header promises for two calls that need no printer.
#
#   check-declarations.sh ROOT LINUX_BUILD
set -euo pipefail
root=$(realpath "$1") linux=$(realpath "$2")
scratch=$(mktemp -d /tmp/tq587-pascal-XXXXXX)
trap 'rm -rf "$scratch"' EXIT

block() { awk -v lang="$1" '$0 == "```" lang {on=1; next} on && /^```/ {exit} on' "$root/README.md"; }
names() { grep -oE 'TQ587_[a-zA-Z]+\(' | tr -d '(' | sort -u; }
declared=$(grep -oE 'TQ587_CALL TQ587_[A-Za-z]+' "$root/include/tq587.h" | sed 's/.* //' | sort)
status=0
for lang in csharp pascal; do
  got=$(block "$lang" | sed -E 's/(TQ587_[a-zA-Z]+)(:| *;)/\1(/' | names)
  if [ "$got" != "$declared" ]; then
    echo "README's $lang declarations differ from include/tq587.h:" >&2
    diff <(echo "$declared") <(echo "$got") >&2 || true
    status=1
  fi
done

block pascal >"$scratch/TQ587.pas"
cat >"$scratch/check.pas" <<'PAS'
program check;
uses TQ587;
begin
  { 20 characters are one too many for the tab list; a placeholder is 0 }
  if (TQ587_regTabulacao('01,02,03,04,05,06,07') <> -99) or
     (TQ587_iConfigurarGuilhotina <> 0) then Halt(1);
end.
PAS
fpc -v0 -Fl"$linux" -k-rpath="$linux" -FE"$scratch" "$scratch/check.pas" >"$scratch/fpc.log" 2>&1 ||
  { cat "$scratch/fpc.log" >&2; exit 1; }
# The library connects when it loads: no port of this directory leads anywhere.
mkdir "$scratch/dosdevices"
for n in $(seq 1 20); do ln -s "/nonexistent/com$n" "$scratch/dosdevices/com$n"; done
(cd "$scratch" && ./check >/dev/null 2>&1) || { echo "the Pascal unit's calls failed" >&2; status=1; }
[ "$status" = 0 ] && echo "the C# class and the Pascal unit declare the header's fifteen functions"
exit "$status"
