#!/usr/bin/env bash
# Builds the Debian package in build-package/ (Release, cpack -G DEB) and
# checks it as a user gets it: lintian finds no error; `apt-get install
# ./tq587_*.deb` installs it; a C program built with `pkg-config --cflags
# --libs tq587` and the four bindings' programs print to the installed
# virtual printer (tests/bindings/print-receipts.sh against the installed
# library); `apt-get purge` leaves none of its files behind. Run as root on
# a machine where the package may be installed and removed (CI does).
#   scripts/package.sh [--keep]   --keep: leave the package installed
set -euo pipefail
cd "$(dirname "$0")/.."
keep=${1:-}
bash scripts/install-deps.sh
bash scripts/install-deps.sh lintian dpkg-dev fpc

cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DTQ587_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build-package -j "$(nproc)"
rm -f build-package/tq587_*.deb
(cd build-package && cpack -G DEB >/dev/null)
deb=$(ls build-package/tq587_*.deb)
echo "== $deb"
lintian --tag-display-limit 0 "$deb" | tee build-package/lintian.txt
if grep -q '^E:' build-package/lintian.txt; then echo "lintian found errors" >&2; exit 1; fi

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -q "./$deb" >/dev/null
[ "$keep" = --keep ] || trap 'apt-get purge -y -q tq587 >/dev/null 2>&1 || true' EXIT
files=$(dpkg -L tq587 | while read -r f; do [ -d "$f" ] || echo "$f"; done)

work=$(mktemp -d /tmp/tq587-package-XXXXXX)
cc -o "$work/receipt" tests/bindings/receipt.c $(pkg-config --cflags --libs tq587)
lib=$(pkg-config --variable=libdir tq587)
bash tests/bindings/print-receipts.sh "$PWD" "$lib" /usr/bin/tq587-virtual-printer "$work/receipt"
tq587 --version
rm -rf "$work"

[ "$keep" = --keep ] && exit 0
apt-get purge -y -q tq587 >/dev/null
trap - EXIT
left=$(for f in $files; do [ -e "$f" ] || [ -L "$f" ] && echo "$f"; done || true)
[ -z "$left" ] || { echo "left after purge:" $left >&2; exit 1; }
echo "installed, printed from C (pkg-config), C#, Python and Pascal, removed: nothing left"
