#!/usr/bin/env bash
# The live page in a real browser: Debian's Chromium, driven headless by
# playwright-core from package-lock.json (which never brings a browser of
# its own). CTest runs it on the built programs with the screenshot in the
# build; without arguments it takes build/ and writes docs/live.png, the
# README's picture.
#   run.sh [VIRTUAL_PRINTER TQ587_TOOL SCREENSHOT]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../../.." && pwd)
for need in node npm /usr/bin/chromium; do
  command -v "$need" >/dev/null && continue
  echo "no $need here: bash scripts/install-deps.sh installs it"
  [ -z "${CI:-}" ] && exit 77 || exit 1  # skipped, but not in CI
done
if [ ! "$here/node_modules/.package-lock.json" -nt "$here/package-lock.json" ]; then
  npm ci --prefix "$here" --no-audit --no-fund --loglevel=error >/dev/null
fi
exec node "$here/live-page.test.mjs" "${1:-$root/build/tools/tq587-virtual-printer}" "${2:-$root/build/tools/tq587}" \
  "$root/tools/samples" "${3:-$root/docs/live.png}"
