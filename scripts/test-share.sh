#!/usr/bin/env bash
# Prints the size of the tests against the size of the code: C and C++ lines
# that are neither blank nor comments, as cloc counts them. Tests are the
# files under a tests/ folder (tests/, tools/*/tests/); code is every other
# C or C++ file of the project. Golden scripts and other test data are data,
# not test code. Warns when the tests pass one third of the code.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v cloc >/dev/null || bash scripts/install-deps.sh

all=$(git ls-files --cached --others --exclude-standard | grep -E '\.(c|cc|cpp|h|hpp)$' || true)
tests=$(grep -E '(^|/)tests/' <<<"$all" || true)
code=$(grep -vE '(^|/)tests/' <<<"$all" || true)

lines() {
  [ -n "$1" ] || { echo 0; return; }
  cloc --quiet --csv --list-file=<(echo "$1") | awk -F, 'NR > 1 && $2 != "SUM" { s += $5 } END { print s + 0 }'
}
t=$(lines "$tests")
c=$(lines "$code")
percent=$(( c > 0 ? 100 * t / c : 0 ))
echo "test share: tests ${t} lines, code ${c} lines, ratio ${percent}%"
if [ $(( 3 * t )) -gt "$c" ]; then
  echo "warning: the tests are more than one third of the code (${percent}%)"
fi
