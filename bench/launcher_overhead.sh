#!/usr/bin/env bash
# How much the launchers fp.dll and mp.dll add to a tool start: the median wall time of the
# tool run directly against the same run through its launcher, measured side by side (the two
# alternate, so both see the same machine load). The target is at most 10 ms added.
#
# Usage: bench/launcher_overhead.sh [program folder] [runs]
#   program folder: the folder holding fp.dll and mp.dll (default: build/Vidora of this tree)
#   runs:           starts of each kind (default 41)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program_folder="${1:-${VIDORA_PROGRAM_DIR:-$here/build/Vidora}}"
runs="${2:-41}"
target_ms=10

for tool in ffmpeg mplayer; do
    command -v "$tool" >/dev/null || { echo "launcher_overhead: $tool not found; install the Debian package $tool" >&2; exit 2; }
done
for launcher in fp.dll mp.dll; do
    [ -x "$program_folder/$launcher" ] || { echo "launcher_overhead: $program_folder/$launcher missing; build the target vidora_program" >&2; exit 2; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
clip="$work/clip ä.avi"
ffmpeg -v error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=2 \
    -f lavfi -i sine=frequency=440:sample_rate=44100:duration=2 -ac 2 \
    -c:v mpeg4 -c:a pcm_s16le "$clip" </dev/null

now_us() { local t; t=$(date +%s%N); echo $((t / 1000)); }

# Runs a command once, quietly, and prints its wall time in microseconds.
time_once() {
    local start end
    start=$(now_us)
    "$@" </dev/null >/dev/null 2>&1 || true
    end=$(now_us)
    echo $((end - start))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# compare NAME -- DIRECT COMMAND -- LAUNCHED COMMAND
compare() {
    local name="$1"; shift; shift
    local direct=() launched=()
    while [ "$1" != "--" ]; do direct+=("$1"); shift; done
    shift
    launched=("$@")
    local direct_times="$work/$name.direct" launched_times="$work/$name.launched"
    : >"$direct_times"; : >"$launched_times"
    # One unmeasured start each fills the page cache.
    time_once "${direct[@]}" >/dev/null
    time_once "${launched[@]}" >/dev/null
    for ((i = 0; i < runs; i++)); do
        time_once "${direct[@]}" >>"$direct_times"
        time_once "${launched[@]}" >>"$launched_times"
    done
    local direct_us launched_us
    direct_us=$(median <"$direct_times")
    launched_us=$(median <"$launched_times")
    awk -v name="$name" -v d="$direct_us" -v l="$launched_us" -v target="$target_ms" 'BEGIN {
        added = (l - d) / 1000
        printf "%-8s %12.1f %14.1f %10.1f   %s\n", name, d / 1000, l / 1000, added,
               (added <= target) ? "ok" : "OVER"
    }'
}

echo "Median of $runs starts each, milliseconds (target: at most $target_ms ms added)"
printf "%-8s %12s %14s %10s\n" "tool" "direct" "via launcher" "added"
results="$work/results"
{
    compare fp.dll -- ffmpeg -hide_banner -version -- "$program_folder/fp.dll" -hide_banner -version
    compare mp.dll -- mplayer -really-quiet -identify -frames 0 -vo null -ao null "$clip" \
        -- "$program_folder/mp.dll" -priority abovenormal -really-quiet -identify -frames 0 -vo null -ao null "$clip"
} | tee "$results"
! grep -q OVER "$results"
