#!/usr/bin/env bash
# Adding 100 generated files to the job list (one probe each, several at a time) against the
# same 100 identify runs of mp.dll started directly one after the other, side by side in one
# run. Prints the ratio (target at most 0.60) and the longest stall of the event loop while
# adding (target under 100 ms).
#
#   bench/probe_overhead.sh [BUILD_DIR]      (default: build)
#   COUNT=100 ROUNDS=3 bench/probe_overhead.sh build
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
count=${COUNT:-100}
rounds=${ROUNDS:-3}

cmake --build "$build" --target probe_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Clips of a few sizes and containers, as a batch of real additions would be.
sizes=(640x480 320x240 1280x720)
containers=(avi mp4 mkv)
for i in $(seq 1 "$count"); do
    size=${sizes[$((i % 3))]}
    container=${containers[$(((i / 3) % 3))]}
    ffmpeg -nostdin -v error -y \
        -f lavfi -i "testsrc=size=$size:rate=25:duration=4" \
        -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=4" \
        -ac 2 -c:v mpeg4 -q:v 5 -c:a libmp3lame -shortest \
        "$work/clip $(printf %02d "$i").$container"
done

files=("$work"/clip*)
"$build/bench/probe_bench" "$build/Vidora" "$rounds" "${files[@]}"
