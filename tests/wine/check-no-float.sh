#!/usr/bin/env bash
# Checks that the library's own code runs no floating-point instruction: no
# x87 instruction and no SSE arithmetic, comparison or conversion. So the
# precision, rounding and exception masks a calling program left in the
# processor (Delphi unmasks exceptions) can neither change what is printed
# nor raise an exception in the program. Moving bytes through the SSE
# registers (movdqu, pxor, punpcklqdq, ...) is no floating-point work.
#
#   check-no-float.sh OBJDUMP ARCHIVE...
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: check-no-float.sh OBJDUMP ARCHIVE..." >&2; exit 2; }
objdump=$1
shift
# function, then mnemonic, for every instruction (AT&T names)
instructions=$("$objdump" -d --no-show-raw-insn "$@" |
  awk '/^[0-9a-f]+ <.*>:$/ {fn = $2} /^ +[0-9a-f]+:\t/ {split($0, f, "\t"); split(f[2], m, " "); print fn, m[1]}')
[ -n "$instructions" ] || { echo "no instructions found in $*" >&2; exit 2; }
floating=$(grep -E ' v?(f[a-z0-9]+|(add|sub|mul|div|sqrt|min|max|rcp|rsqrt|round|hadd|hsub|addsub|dp|cmp[a-z]*)(ss|sd|ps|pd)|u?comis[sd]|cvt[a-z0-9]+)$' <<<"$instructions" | sort | uniq -c || true)
if [ -n "$floating" ]; then
  echo "floating-point instructions in the library's code:" >&2
  echo "$floating" >&2
  exit 1
fi
echo "no floating-point instruction in $(wc -l <<<"$instructions") instructions of $# archives"
