#!/usr/bin/env bash
# Runs the scenario (scenario.c) twice, each against its own virtual printer
# on COM1 at 19200 bit/s while CONVERSOR.INI says 9600, so that the speed
# search reopens the port and rewrites the file: natively with the Linux
# library, then under Wine with TQ587.dll, as a Windows application runs.
# The results of the calls, the bytes the printer received and
# CONVERSOR.INI must be equal byte for byte; the log must be in c:\KORVA\ of
# the Wine prefix with CR LF lines and hold the same messages as the Linux
# log.
#
#   compare.sh WINE DLL CALLER LINUX_BUILD
#
# WINE is Wine's loader to run CALLER with (wine64, or wine for 32-bit); LINUX_BUILD holds libTQ587.so,
# the Linux scenario and the virtual printer. WINEPREFIX, when set, is an
# existing prefix to reuse; otherwise a fresh one is made in the scratch
# folder. No COM port of the prefix leads to this machine's serial ports.
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: compare.sh WINE DLL CALLER LINUX_BUILD" >&2; exit 2; }
wine=$1
dll=$(realpath "$2") caller=$(realpath "$3") linux=$(realpath "$4")
here=$(cd "$(dirname "$0")" && pwd)
printer=$linux/tools/tq587-virtual-printer
for f in "$dll" "$caller" "$linux/libTQ587.so" "$linux/tests/wine/tq587-scenario" "$printer"; do
  [ -e "$f" ] || { echo "missing $f" >&2; exit 2; }
done

scratch=$(mktemp -d /tmp/tq587-wine-XXXXXX)
export WINEDEBUG=-all WINELOADER=$wine
[ -n "${WINEPREFIX:-}" ] || export WINEPREFIX=$scratch/prefix
printer_pid=""
stop_printer() {
  if [ -n "$printer_pid" ] && kill -0 "$printer_pid" 2>/dev/null; then
    kill -TERM "$printer_pid"
    wait "$printer_pid" || true
  fi
  printer_pid=""
}
finish() {
  stop_printer
  wineserver -k 2>/dev/null || true
  if [ "${status:-1}" = 0 ]; then rm -rf "$scratch"; else echo "kept $scratch" >&2; fi
}
trap finish EXIT

# A directory as the application's: CONVERSOR.INI for COM1 at 9600 bit/s
# with the port-and-weekday log on, and a 19200 bit/s printer linked as
# DIR/dosdevices/com1. Sets terminal to the printer's pseudo-terminal.
prepare() {
  local dir=$1
  mkdir -p "$dir/dosdevices"
  printf '\r\n\r\n[TQ587]\r\n   PORTA = COM1\r\n   VELOCIDADE = 9600\r\n   CONTROLE_DE_FLUXO = DTR/DSR\r\n   CODEPAGE_AUTOMATICO = 1\r\n   ENTERAUTOMATICO = 1\r\n   GAVETA_INVERTIDA = 0\r\n   TABULACAO = "05,10,15,20,25,35"\r\n   METODO_DE_COMUNICACAO = "SERIAL"\r\n   TAMANHO_QRCODE = 4\r\n[SISTEMA]\r\nLOG = S\r\n' \
    >"$dir/CONVERSOR.INI"
  "$printer" --dir "$dir" --port 1 --speed 19200 --record "$dir/received.bin" \
    --ready-file "$dir/ready" >/dev/null 2>"$dir/printer.log" &
  printer_pid=$!
  for _ in $(seq 100); do
    [ -e "$dir/ready" ] && break
    sleep 0.1
  done
  [ -e "$dir/ready" ] || { echo "the virtual printer did not start" >&2; exit 1; }
  terminal=$(readlink "$dir/dosdevices/com1")
}

# Linux: COM2..COM20 lead nowhere; c: is a folder of the directory.
native=$scratch/linux
prepare "$native"
for n in $(seq 2 20); do ln -s "/nonexistent/com$n" "$native/dosdevices/com$n"; done
mkdir -p "$native/dosdevices/c:/KORVA"
(cd "$native" && "$linux/tests/wine/tq587-scenario" "$linux/libTQ587.so") >"$native/console.txt" 2>&1 || true
stop_printer

# Wine: COM1 is the printer's pseudo-terminal, COM2..COM20 lead nowhere.
started=$(date +%s)
if [ ! -e "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i >/dev/null 2>&1
  wineserver -w
fi
mkdir -p "$WINEPREFIX/drive_c/KORVA"
rm -f "$WINEPREFIX"/drive_c/KORVA/*
windows=$scratch/windows
prepare "$windows"
key='HKLM\Software\Wine\Ports'
"$wine" reg add "$key" /v COM1 /d "$terminal" /f >/dev/null 2>&1
{
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n'
  for n in $(seq 2 20); do printf '"COM%d"="/nonexistent/com%d"\r\n' "$n" "$n"; done
} >"$scratch/ports.reg"
(cd "$scratch" && "$wine" reg import ports.reg >/dev/null 2>&1)
# Wine lays the ports out again from the registry when it starts, and gives
# the machine's serial ports the COM numbers left free (COM21 and up). One
# Wine session, kept until the end, runs the scenario once those links are
# gone, so that no COM port of the session leads to a /dev/ttyS port.
wineserver -k 2>/dev/null || true
rm -f "$WINEPREFIX"/dosdevices/com*
wineserver -p >/dev/null 2>&1
"$wine" reg query "$key" /v COM1 >/dev/null 2>&1
for link in "$WINEPREFIX"/dosdevices/com*; do
  [ -L "$link" ] || continue
  n=${link##*/com} target=$(readlink "$link")
  case $target in
    "$terminal" | "/nonexistent/com$n") ;;
    *) [ "$n" -gt 20 ] && rm "$link" || { echo "refusing to run: $link leads to $target" >&2; exit 1; } ;;
  esac
done
cp "$dll" "$caller" "$windows/"
(cd "$windows" && "$wine" "$(basename "$caller")" TQ587.dll) >"$windows/console.txt" 2>&1 || true
if find "$WINEPREFIX/dosdevices" -maxdepth 1 -lname '/dev/ttyS*' | grep -q .; then
  echo "a COM port of the session led to a /dev/ttyS port" >&2
  exit 1
fi
wineserver -k 2>/dev/null || true
stop_printer
echo "wine run: $(($(date +%s) - started)) s"

status=0
same() {
  if cmp -s "$native/$1" "$windows/$1"; then
    echo "same $1"
  else
    echo "DIFFERENT $1" >&2
    status=1
  fi
}
same results.txt
same received.bin
same CONVERSOR.INI
if [ "$status" != 0 ]; then
  diff <(cat -A "$native/results.txt") <(cat -A "$windows/results.txt") >&2 || true
  diff <("$printer" --decode "$native/received.bin") <("$printer" --decode "$windows/received.bin") >&2 || true
fi

# The log: CR LF lines on Windows, LF on Linux, the same messages in both.
wlog=$(ls "$WINEPREFIX"/drive_c/KORVA/LogTQ587-COM1-*.log 2>/dev/null | head -1)
nlog=$(ls "$native"/dosdevices/c:/KORVA/LogTQ587-COM1-*.log 2>/dev/null | head -1)
messages() { sed -e 's/\r$//' -e 's/^\(\[[A-Z]*\]\)\t[0-9 :-]*: /\1 /' "$1"; }
if [ -z "$wlog" ] || [ ! -s "$wlog" ]; then
  echo "no log in c:\\KORVA\\" >&2
  status=1
elif grep -q $'[^\r]$' "$wlog" || [ "$(tail -c 2 "$wlog" | od -An -c | tr -d ' ')" != '\r\n' ]; then
  echo "the log in c:\\KORVA\\ has lines without CR LF" >&2
  status=1
elif [ -z "$nlog" ] || ! diff <(messages "$nlog") <(messages "$wlog") >&2; then
  echo "the Windows log's messages differ from the Linux log's" >&2
  status=1
else
  echo "log: $(wc -l <"$wlog") CR LF lines in c:\\KORVA\\$(basename "$wlog"), as on Linux"
fi

[ "$status" = 0 ] && echo "TQ587.dll under Wine matches libTQ587.so" || { cat "$windows/console.txt" >&2; }
exit "$status"
