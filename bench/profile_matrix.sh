#!/usr/bin/env bash
# Converts a generated clip with every catalogue profile (and every codec choice of the
# customisable ones) through the real fp.dll and prints the table with its totals.
# Usage: bench/profile_matrix.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cmake --build "$build" --target engine_e2e_tests vidora_program >/dev/null
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$build/tests/engine/engine_e2e_tests" --gtest_filter='AllProfiles/ProfileMatrix.*' >"$log" 2>&1 || true
printf '%-22s | %-46s | %-4s | %-9s | %-9s | %-7s | %s\n' case profile ext video audio length result
grep '^MATRIX|' "$log" | sed 's/^MATRIX| //'
rows=$(grep -c '^MATRIX| row[0-9]* ' "$log" || true)
rows_passed=$(grep '^MATRIX| row[0-9]* ' "$log" | grep -c '| PASS$' || true)
all=$(grep -c '^MATRIX|' "$log" || true)
all_passed=$(grep '^MATRIX|' "$log" | grep -c '| PASS$' || true)
echo
echo "profile rows: $rows_passed of $rows passed"
echo "all cases (rows, customised codecs, no audio, trimmed): $all_passed of $all passed"
