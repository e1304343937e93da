#!/usr/bin/env bash
# Checks what a Windows application finds in TQ587.dll: exactly the fifteen
# functions of include/tq587.h under their plain names (no _name@N), and
# imports from system DLLs only, so that no compiler runtime must be
# shipped beside it.
#
#   check-dll.sh OBJDUMP DLL HEADER
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: check-dll.sh OBJDUMP DLL HEADER" >&2; exit 2; }
objdump=$1 dll=$2 header=$3
table=$("$objdump" -p "$dll")

declared=$(grep -oE 'TQ587_CALL TQ587_[A-Za-z]+' "$header" | sed 's/.* //' | sort)
exported=$(awk '/^\[Ordinal\/Name Pointer\] Table/ {on=1; next} on && /^[ \t]*\[ *[0-9]+\]/ {print $NF; next} on {on=0}' <<<"$table" | sort)
imports=$(awk '/DLL Name:/ {print tolower($3)}' <<<"$table" | sort -u)

status=0
if [ "$declared" != "$exported" ] || [ "$(wc -l <<<"$exported")" -ne 15 ]; then
  echo "exports differ from the header:" >&2
  diff <(echo "$declared") <(echo "$exported") >&2 || true
  status=1
fi
for name in $imports; do
  case $name in
    kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll | ntdll.dll | ucrtbase.dll | api-ms-win-*.dll) ;;
    *) echo "imports $name, which is not a system DLL" >&2; status=1 ;;
  esac
done
[ "$status" = 0 ] && echo "$(basename "$dll"): $(wc -l <<<"$exported") plain exports; imports $(echo $imports)"
exit "$status"
