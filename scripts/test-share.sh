#!/usr/bin/env bash
# Prints the size of the tests against the size of the code, counted whole:
# lines that are neither blank nor comments (//, #, /* and * lines), in every
# file git knows or would add. Tests: everything under a tests/ folder
# (tests/, tools/*/tests/: code, scripts, case tables, data files) and the
# fuzz harness sources, but for binary inputs and the picture corpus with
# its generator. Code: src/, include/, tools/ outside their tests, bindings/.
# Warns when the tests pass one third of the code.
set -euo pipefail
cd "$(dirname "$0")/.."

files=$( (git ls-files --cached --others --exclude-standard) | sort -u)
binary='\.(bmp|png|bin|jpg|gz|zip|dll|so|a|exe)$'
tests=$(grep -E '(^|/)tests/|^fuzz/[^/]+\.(c|cc|cpp|h|hpp)$' <<<"$files" |
  grep -vE "^fuzz/(corpus|dict)/|(^|/)tests/data/images/|$binary" || true)
code=$(grep -E '^(src|include|tools|bindings)/' <<<"$files" | grep -vE "(^|/)tests/|$binary" || true)

lines() {
  [ -n "$1" ] || { echo 0; return; }
  xargs -d '\n' cat <<<"$1" | grep -cvE '^\s*($|//|#(\s|$)|/\*|\*|--)' || true
}
t=$(lines "$tests")
c=$(lines "$code")
percent=$(( c > 0 ? 100 * t / c : 0 ))
echo "test share: tests ${t} lines, code ${c} lines, ratio ${percent}%"
if [ $(( 3 * t )) -gt "$c" ]; then
  echo "warning: the tests are more than one third of the code (${percent}%)"
fi
