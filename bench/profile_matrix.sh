#!/usr/bin/env bash
# Converts generated sources with every catalogue profile (and every codec choice of the
# customisable ones) through the real fp.dll and prints the table with its totals.
# Without a flag it runs the sample that ctest runs: every case on the plain clip and every
# source kind on the rows whose encoders and containers have limits. With --all-sources every
# case runs on every source kind (HD, 96 kHz 5.1, odd portrait, 10-bit, silent, 8 kHz mono,
# variable frame rate, two tracks and subtitles, long GOP); sound rows given the silent source
# count as passed when they refuse it cleanly. The cases run in one process per core.
# Usage: bench/profile_matrix.sh [--all-sources] [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
all=0
if [ "${1:-}" = "--all-sources" ]; then
    all=1
    shift
fi
build=${1:-$top/build}
cmake --build "$build" --target engine_e2e_tests vidora_program >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shards=$(nproc)
start=$(date +%s)
for ((shard = 0; shard < shards; shard++)); do
    VIDORA_MATRIX_ALL_SOURCES=$all GTEST_TOTAL_SHARDS=$shards GTEST_SHARD_INDEX=$shard \
        QT_QPA_PLATFORM=offscreen "$build/tests/engine/engine_e2e_tests" \
        --gtest_filter='AllProfiles/ProfileMatrix.*' >"$work/shard$shard.log" 2>&1 </dev/null &
done
wait || true
seconds=$(($(date +%s) - start))
cat "$work"/shard*.log >"$work/all.log"
printf '%-30s | %-46s | %-4s | %-9s | %-9s | %-7s | %s\n' case profile ext video audio length result
grep '^MATRIX|' "$work/all.log" | sed 's/^MATRIX| //' | sort -V
cases=$(grep -c '^MATRIX|' "$work/all.log" || true)
passed=$(grep '^MATRIX|' "$work/all.log" | grep -c '| PASS' || true)
refused=$(grep '^MATRIX|' "$work/all.log" | grep -c '| PASS (refused)$' || true)
echo
echo "$passed of $cases cases passed ($refused of them clean refusals) in $seconds s"
