#!/usr/bin/env bash
# Runs the scenario (scenario.c) with the library of another build and with
# the 64-bit Linux library, each against its own virtual printer, and
# compares them byte for byte: the results of the calls, the bytes the
# printer received, CONVERSOR.INI and the log's messages.
#
#   compare.sh LINUX_BUILD LIBRARY CALLER [RUNNER...]
#
# LIBRARY is a TQ587.dll, run under Wine with RUNNER as Wine's loader
# (wine64, or a wine for 32-bit programs), or the libTQ587.so of another
# build, run with RUNNER (qemu-i386-static -L /, say) or natively. CALLER is
# that build's tq587-scenario. LINUX_BUILD holds the reference: libTQ587.so,
# its tq587-scenario and the virtual printer.
#
# Two printers:
#   speed   CONVERSOR.INI says COM1 at 9600 bit/s and the printer answers at
#           19200: the probe fails, the speed search reopens the port and
#           rewrites the file. After the session every BMP of
#           tests/data/images is printed three ways. Once for each
#           floating-point setting a calling program may have left (x87
#           control word and MXCSR: the program's own, MSVC's, MinGW's,
#           Delphi's with exceptions unmasked, and the three other rounding
#           directions); the reference runs once.
#   detect  CONVERSOR.INI says COM3 at DETECTAR and the printer answers at
#           19200 on COM3: no port opens at speed 0, so the search runs from
#           COM1.
#   tool    with TQ587_TOOL set to this build's tq587 tool: the sample
#           receipt and a drawer kick through it, against the Linux tool.
#   threads this build's tq587-threads (threads.c, beside CALLER): three
#           threads print receipts while a fourth changes the settings,
#           closes the port and connects again; every call must answer 1,
#           CONVERSOR.INI be whole at every read, and the Linux build's
#           tq587-threads find every receipt whole in the printer's bytes
#           ("same" says all is well: there is no reference to compare).
#
# COM<n> of each run is the printer's pseudo-terminal or leads nowhere,
# and no COM port of the Wine prefix leads to a /dev/tty device. Run as
# root, the whole comparison runs in a private mount namespace in which
# every serial device node of this machine is covered by an empty file.
# WINEPREFIX, when set, is an existing prefix to use; WINEARCH is passed on.
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: compare.sh LINUX_BUILD LIBRARY CALLER [RUNNER...]" >&2; exit 2; }

if [ -z "${TQ587_SERIAL_COVERED:-}" ] && [ "$(id -u)" = 0 ] && unshare -m true 2>/dev/null; then
  export TQ587_SERIAL_COVERED=1
  exec unshare -m --propagation private bash "$0" "$@"
fi
if [ -n "${TQ587_SERIAL_COVERED:-}" ]; then
  cover=$(mktemp /tmp/tq587-no-serial-XXXXXX)
  chmod 000 "$cover"
  for device in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM*; do
    [ -e "$device" ] || continue
    mount --bind "$cover" "$device" && mount -o remount,bind,ro "$device"
  done
fi

linux=$(realpath "$1") library=$(realpath "$2") caller=$(realpath "$3")
threads=$(dirname "$caller")/tq587-threads${caller##*/tq587-scenario}  # with .exe, if any
shift 3
runner=("$@")
[[ ${runner[0]:-} != */* ]] || runner[0]=$(realpath "${runner[0]}")
here=$(cd "$(dirname "$0")" && pwd)
images=$(realpath "$here/../data/images")
printer=$linux/tools/tq587-virtual-printer
wine=""
[[ $library == *.dll ]] && wine=${runner[0]:?a Wine loader to run TQ587.dll with}

# The floating-point settings (scenario.c): the program's own; MSVC's
# (53-bit precision); MinGW's and Linux's (64-bit); Delphi's (64-bit,
# invalid, zero-divide and overflow unmasked); rounding down, up, to zero.
settings=(- 27f:1f80 37f:1f80 1332:1900 67f:3f80 a7f:5f80 e7f:7f80)

scratch=$(mktemp -d /tmp/tq587-compare-XXXXXX)
status=1
printer_pid=""
stop_printer() {
  [ -z "$printer_pid" ] || { kill -TERM "$printer_pid" 2>/dev/null; wait "$printer_pid" || true; }
  printer_pid=""
}
finish() {
  stop_printer
  if [ -n "$wine" ]; then wineserver -k 2>/dev/null || true; fi
  if [ "$status" = 0 ]; then rm -rf "$scratch"; else echo "kept $scratch" >&2; fi
}
trap finish EXIT

# DIR PORT SPEED: an application's directory, its CONVERSOR.INI (COM<PORT>
# at SPEED, log on), the pictures, and a 19200 bit/s printer on COM<PORT>
# (DIR/dosdevices/com<PORT>); every other COM port leads nowhere and C: is
# DIR/dosdevices/c:. Sets terminal to the printer's terminal.
prepare() {
  local dir=$1 port=$2 n
  mkdir -p "$dir/dosdevices/c:/KORVA"
  printf '\r\n\r\n[TQ587]\r\n   PORTA = COM%s\r\n   VELOCIDADE = %s\r\n   CONTROLE_DE_FLUXO = DTR/DSR\r\n   CODEPAGE_AUTOMATICO = 1\r\n   ENTERAUTOMATICO = 1\r\n   GAVETA_INVERTIDA = 0\r\n   TABULACAO = "05,10,15,20,25,35"\r\n   METODO_DE_COMUNICACAO = "SERIAL"\r\n   TAMANHO_QRCODE = 4\r\n[SISTEMA]\r\nLOG = S\r\n' \
    "$port" "$3" >"$dir/CONVERSOR.INI"
  cp "$images"/*.bmp "$dir/"
  for n in $(seq 1 20); do [ "$n" = "$port" ] || ln -s "/nonexistent/com$n" "$dir/dosdevices/com$n"; done
  "$printer" --dir "$dir" --port "$port" --speed 19200 --record "$dir/received.bin" \
    --ready-file "$dir/ready" >/dev/null 2>"$dir/printer.log" &
  printer_pid=$!
  for _ in $(seq 100); do
    [ -e "$dir/ready" ] && break
    sleep 0.1
  done
  [ -e "$dir/ready" ] || { echo "the virtual printer did not start" >&2; exit 1; }
  terminal=$(readlink "$dir/dosdevices/com$port")
}

# Wine's COM<n> is the link $scratch/ports/com<n>, pointed at each run's
# printer or at an empty folder: Wine opens a port whose link leads to no
# file as a device that then refuses every setting, while a missing port
# fails to open on Windows; a folder fails to open. Wine lays out the
# prefix's links from the registry when it starts, late under emulation,
# and gives this machine's own serial ports the numbers after the
# registry's (COM21 and up): the links are written here before each run
# and any that leads to a device is removed.
if [ -n "$wine" ]; then
  # no offer to install Wine's Mono or Gecko in a new prefix
  export WINEDEBUG=-all WINELOADER=$wine WINEDLLOVERRIDES="mscoree,mshtml="
  [ -n "${WINEPREFIX:-}" ] || export WINEPREFIX=$scratch/prefix
  wineserver -k 2>/dev/null || true
  mkdir -p "$scratch/ports" "$scratch/no-port"
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n'
    for n in $(seq 1 20); do printf '"COM%d"="%s/ports/com%d"\r\n' "$n" "$scratch" "$n"; done
  } >"$scratch/ports.reg"
  started=$(date +%s)
  [ -e "$WINEPREFIX/system.reg" ] || "$wine" wineboot -i >/dev/null 2>&1
  (cd "$scratch" && "$wine" reg import ports.reg >/dev/null 2>&1)
  # The registry is saved when the session ends; then one session for all
  # the runs, its services started once.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1
  "$wine" cmd /c exit >/dev/null 2>&1 || true
  echo "Wine prefix ready: $(($(date +%s) - started)) s"
fi
wine_ports() {  # PORT: COM<PORT> to the printer, the others nowhere
  local n link
  for n in $(seq 1 20); do
    if [ "$n" = "$1" ]; then ln -sfn "$terminal" "$scratch/ports/com$n"; else ln -sfn "$scratch/no-port" "$scratch/ports/com$n"; fi
    ln -sfn "$scratch/ports/com$n" "$WINEPREFIX/dosdevices/com$n"
  done
  for link in "$WINEPREFIX"/dosdevices/com*; do
    case $(readlink "$link") in
      /dev/tty*) rm -f "$link" ;;
    esac
  done
}

# DIR PORT SPEED COMMAND...: one run; COMMAND "wine PROGRAM ARGUMENT..."
# runs PROGRAM beside TQ587.dll under Wine.
run() {
  prepare "$1" "$2" "$3"
  local dir=$1 port=$2
  shift 3
  if [ "$1" = wine ] || [ "$1" = wine-tool ]; then
    local kind=$1
    shift
    rm -rf "$WINEPREFIX/drive_c/KORVA"
    mkdir -p "$WINEPREFIX/drive_c/KORVA"
    wine_ports "$port"
    if [ "$kind" = wine ]; then
      cp "$library" "$1" "$dir/"
      (cd "$dir" && "$wine" "$(basename "$1")" "${@:2}") >"$dir/console.txt" 2>&1 || true
    else
      cp "$library" "$caller" "$dir/"
      tool_commands "$dir" "$wine" "$(basename "$caller")" --lib TQ587.dll
    fi
    wine_ports 0
    rm -rf "$dir/dosdevices/c:/KORVA"
    cp -r "$WINEPREFIX/drive_c/KORVA" "$dir/dosdevices/c:/"
  else
    (cd "$dir" && "$@") >"$dir/console.txt" 2>&1 || true
  fi
  stop_printer
}

# The log's messages, without the date and time; on Windows each line ends
# in CR LF.
messages() {
  local file
  for file in "$1"/dosdevices/c:/KORVA/*.log; do
    [ -e "$file" ] || continue
    echo "== $(basename "$file")"
    sed -e 's/\r$//' -e 's/^\(\[[A-Z]*\]\)\t[0-9 :-]*: /\1 /' "$file"
  done
}
differences=0
same() {  # REFERENCE DIR LABEL
  local f verdict=""
  for f in results.txt received.bin CONVERSOR.INI; do
    if cmp -s "$1/$f" "$2/$f"; then continue; fi
    verdict+=" $f DIFFERENT;"
    if [ "$f" = received.bin ]; then
      diff <("$printer" --decode "$1/$f") <("$printer" --decode "$2/$f") | head -20 >&2 || true
    else
      diff "$1/$f" "$2/$f" | head -20 >&2 || true
    fi
  done
  [ "$(messages "$1")" = "$(messages "$2")" ] || verdict+=" log messages DIFFERENT;"
  if [ -n "$wine" ] && grep -lq $'[^\r]$' "$2"/dosdevices/c:/KORVA/*.log 2>/dev/null; then
    verdict+=" log lines without CR LF;"
  fi
  [ -s "$1/results.txt" ] || verdict+=" no results;"
  if [ -n "$verdict" ]; then
    echo "$3:$verdict" >&2
    differences=$((differences + 1))
  else
    echo "$3: same"
  fi
}

pictures=$(cd "$images" && ls *.bmp)
reference=("$linux/tests/wine/tq587-scenario" "$linux/libTQ587.so")
subject=("${runner[@]}" "$caller" "$library")
[ -z "$wine" ] || subject=(wine "$caller" TQ587.dll)
# shellcheck disable=SC2086
run "$scratch/speed-reference" 1 9600 "${reference[@]}" - $pictures
for setting in "${settings[@]}"; do
  started=$(date +%s)
  # shellcheck disable=SC2086
  run "$scratch/speed-$setting" 1 9600 "${subject[@]}" "$setting" $pictures
  same "$scratch/speed-reference" "$scratch/speed-$setting" \
    "speed search and pictures, floating-point settings $setting ($(($(date +%s) - started)) s)"
done
run "$scratch/detect-reference" 3 DETECTAR "${reference[@]}"
run "$scratch/detect" 3 DETECTAR "${subject[@]}"
same "$scratch/detect-reference" "$scratch/detect" "search from a speed of 0"

# The tq587 tool of this build (TQ587_TOOL) beside the Linux tool: the
# sample receipt and a drawer kick give the same answers and bytes.
samples=$(realpath "$here/../../tools/samples")
tool_commands() {  # DIR TOOL...: the tool's text and drawer, its answers in results.txt
  local dir=$1
  shift
  # the sample receipt but for its line of the date and time
  grep -av '<dt></dt>' "$samples/receipt.txt" >"$dir/receipt.txt"
  cp "$samples/logo.bmp" "$dir/"
  # its answer lines; the log lines of LOG = S are compared from the files
  (cd "$dir" && { "$@" text receipt.txt; "$@" drawer; } 2>/dev/null | tr -d '\r' | grep -a '^TQ587_' >results.txt) || true
}
if [ -n "${TQ587_TOOL:-}" ]; then
  caller=$(realpath "$TQ587_TOOL")
  run "$scratch/tool-reference" 1 19200 tool_commands "$scratch/tool-reference" "$linux/tools/tq587" \
    --lib "$linux/libTQ587.so"
  run "$scratch/tool" 1 19200 wine-tool
  same "$scratch/tool-reference" "$scratch/tool" "the tq587 tool: text and drawer"
fi

# Calls from several threads at once: no reference, the order is the
# threads'; the Linux build's tq587-threads checks the printer's bytes.
# 32-bit Wine under qemu-user cannot run threads: a program of four threads
# that only append to files crashes it too, in Wine's own client.
t=$scratch/threads verdict=FAILED
if [ -n "$wine" ] && [ "${WINEARCH:-}" = win32 ]; then
  verdict="not run, as 32-bit Wine under qemu-user crashes with threads"
else
  if [ -n "$wine" ]; then run "$t" 1 19200 wine "$threads" run TQ587.dll 3; else run "$t" 1 19200 "${runner[@]}" "$threads" run "$library" 3; fi
  "$linux/tests/wine/tq587-threads" check "$t/received.bin" "$t/results.txt" >"$t/check.txt" &&
    ! grep -q ' [1-9][0-9]* not ' "$t/results.txt" && verdict=same
fi
echo "four threads at once: $verdict: $(tr '\n' ';' <"$t/results.txt" 2>/dev/null) $(cat "$t/check.txt" 2>/dev/null)"
[ "$verdict" != FAILED ] || differences=$((differences + 1))

if [ "$differences" = 0 ]; then
  status=0
  echo "$(basename "$library") matches the 64-bit libTQ587.so"
fi
exit "$status"
