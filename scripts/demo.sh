#!/usr/bin/env bash
# Prints a sample receipt without a printer on the desk: builds the library,
# the tq587 tool and the virtual printer, starts the virtual printer on COM1
# at 9600 bit/s in a scratch directory, prints tools/samples/receipt.txt
# through the library, shows what the printer received, one command per
# line, and says where the picture of the receipt is. It changes nothing in
# the checkout: with --update-readme (and only then) the picture is copied
# to docs/receipt.png, the README's picture.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)" --target TQ587 tq587 tq587-virtual-printer >/dev/null

# The scratch directory stands for the application's directory: the library
# reads CONVERSOR.INI there and finds COMn as dosdevices/comN. Only COM1 has
# a printer; COM2..COM20 are links to nothing.
work=$(mktemp -d /tmp/tq587-demo-XXXXXX)
mkdir "$work/dosdevices"
for n in $(seq 2 20); do ln -s "/nonexistent/com$n" "$work/dosdevices/com$n"; done
cp tools/samples/logo.bmp "$work/"
printf '\r\n\r\n[TQ587]\r\n   PORTA = COM1\r\n   VELOCIDADE = 9600\r\n   CONTROLE_DE_FLUXO = DTR/DSR\r\n   CODEPAGE_AUTOMATICO = 1\r\n   ENTERAUTOMATICO = 1\r\n   GAVETA_INVERTIDA = 0\r\n   TABULACAO = "05,10,15,20,25,35"\r\n   METODO_DE_COMUNICACAO = "SERIAL"\r\n   TAMANHO_QRCODE = 4\r\n' \
  >"$work/CONVERSOR.INI"

build/tools/tq587-virtual-printer --dir "$work" --port 1 --speed 9600 \
  --record "$work/received.bin" --listing "$work/listing.txt" --ready-file "$work/ready" >"$work/printer.log" &
printer=$!
stop_printer() {
  if kill -0 "$printer" 2>/dev/null; then
    kill -TERM "$printer"
    wait "$printer" || true
  fi
}
trap stop_printer EXIT
for _ in $(seq 50); do
  [ -e "$work/ready" ] && break
  sleep 0.1
done
[ -e "$work/ready" ] || { echo "the virtual printer did not start" >&2; exit 1; }

echo "== printing tools/samples/receipt.txt on COM1 at 9600"
status=0
(cd "$work" && "$root/build/tools/tq587" text "$root/tools/samples/receipt.txt") >"$work/library.log" 2>&1 || status=$?
grep '^TQ587_' "$work/library.log" || true
stop_printer

echo "== what the printer received"
cat "$work/listing.txt"
echo "== files in $work: received.bin (the bytes), listing.txt, library.log (the library's log)"
if [ -e "$work/receipt-0001.png" ]; then
  echo "== the receipt as the paper shows it: $work/receipt-0001.png"
  if [ "${1:-}" = --update-readme ]; then
    cp "$work/receipt-0001.png" docs/receipt.png
    echo "== copied to docs/receipt.png"
  fi
else
  echo "== no receipt was drawn" >&2
  status=1
fi
exit "$status"
