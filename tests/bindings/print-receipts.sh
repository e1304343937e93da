#!/usr/bin/env bash
# One receipt printed from C, C# (Mono), Python and Free Pascal, each through
# its declarations in bindings/, to a virtual printer on COM1: each program
# gets 1 and the printer receives the same bytes, the accents in
# Windows-1252. The bindings declare the header's fifteen functions.
#   print-receipts.sh ROOT LIBRARY_DIR VIRTUAL_PRINTER C_PROGRAM
set -uo pipefail
root=$1 lib=$2 printer=$3 c_program=$4 here=$1/tests/bindings status=0
python=/usr/bin/python3  # Debian's, with no packages of its own
[ -x "$python" ] || python=$(command -v python3)
for tool in mcs mono fpc "$python"; do
  command -v "$tool" >/dev/null && continue
  echo "no $tool here: bash scripts/install-deps.sh installs it"
  [ -z "${CI:-}" ] && exit 77 || exit 1  # skipped, but not in CI
done
work=$(mktemp -d /tmp/tq587-bindings-XXXXXX)
trap '[ "$status" = 0 ] && rm -rf "$work" || echo "kept: $work"' EXIT

declared=$(grep -oE 'TQ587_CALL TQ587_[A-Za-z]+' "$root/include/tq587.h" | cut -d' ' -f2 | sort)
for binding in csharp/TQ587.cs python/tq587.py pascal/tq587.pas; do
  names=$(grep -oE 'TQ587_[a-z][A-Za-z]+' "$root/bindings/$binding" | sort -u)
  [ "$names" = "$declared" ] || { echo "bindings/$binding:"; diff <(echo "$declared") <(echo "$names"); status=1; }
done
mkdir "$work/fpc" && mcs -out:"$work/receipt.exe" "$root/bindings/csharp/TQ587.cs" "$here/receipt.cs" >"$work/mcs.log" 2>&1 &&
  fpc -v0 -Fu"$root/bindings/pascal" -FU"$work/fpc" -Fl"$lib" -k-rpath="$lib" -o"$work/receipt-pascal" \
      "$here/receipt.pas" >"$work/fpc.log" 2>&1 || { cat "$work"/*.log; status=1; exit 1; }

# The load's status request and ESC @; ESC t 16 LF; ESC a 1; "São Paulo";
# LF ESC a 0; LF; "Pão de queijo"; LF; <gui>: ESC @ GS V 66 0 ESC @; the final LF.
expected="10 04 01 1b 40 1b 74 10 0a 1b 61 01 53 e3 6f 20 50 61 75 6c 6f 0a 1b 61 00 0a
          50 e3 6f 20 64 65 20 71 75 65 69 6a 6f 0a 1b 40 1d 56 42 00 1b 40 0a"
receipt() {  # NAME COMMAND...: runs the command in a folder whose COM1 is a virtual printer
  local name=$1 dir=$work/$1 n && shift && mkdir -p "$dir/dosdevices"
  for n in $(seq 2 20); do ln -s "/nonexistent/com$n" "$dir/dosdevices/com$n"; done
  printf '[TQ587]\r\nPORTA = COM1\r\nVELOCIDADE = 115200\r\nCODEPAGE_AUTOMATICO = 1\r\nENTERAUTOMATICO = 1\r\n%s\r\n' \
    'METODO_DE_COMUNICACAO = "SERIAL"' >"$dir/CONVERSOR.INI"
  "$printer" --dir "$dir" --speed 115200 --record "$dir/received.bin" --ready-file "$dir/ready" >"$dir/printer.log" 2>&1 &
  for n in $(seq 50); do [ -e "$dir/ready" ] && break; sleep 0.1; done
  (cd "$dir" && "$@") >"$dir/said" 2>&1 || { echo "$name: $(cat "$dir/said")"; status=1; }
  kill -TERM $! && wait $!
  received=$(od -An -v -tx1 "$dir/received.bin" | xargs)
  [ "$received" = "$(echo $expected)" ] || { echo "$name: the printer received $received"; status=1; }
}
receipt c "$c_program"
receipt csharp env LD_LIBRARY_PATH="$lib" mono "$work/receipt.exe"
receipt python env PYTHONDONTWRITEBYTECODE=1 PYTHONPATH="$root/bindings/python" TQ587_LIBRARY="$lib/libTQ587.so" \
  "$python" "$here/receipt.py"
receipt pascal "$work/receipt-pascal"
[ "$status" = 0 ] && echo "C, C#, Python and Pascal: the same receipt, São as 53 E3 6F"
exit "$status"
