#!/usr/bin/env bash
# (a) One 60-second generated clip converted through the conversion run against the same
#     encoder command started directly, side by side; the program's own CPU share of the run.
# (b) One progress tick with a 200 MB statistics file against one with a 1 KB file.
#
#   bench/conversion_run.sh [BUILD_DIR]      ROUNDS=3 SECONDS=60 TICKS=200
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
rounds=${ROUNDS:-3}
seconds=${SECONDS_OF_CLIP:-60}
ticks=${TICKS:-200}
cmake --build "$build" --target run_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/out"
ln -s "$build/Vidora/fp.dll" "$work/program/fp.dll"
ffmpeg -nostdin -v error -y \
    -f lavfi -i "testsrc=size=640x480:rate=25:duration=$seconds" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds" \
    -ac 2 -c:v mpeg4 -q:v 5 -c:a libmp3lame -shortest "$work/clip.avi"

echo "== (a) a $seconds-second clip, through the run and directly"
"$build/bench/run_bench" job "$work/program" "$work/clip.avi" "$work/out" "$rounds"
echo
echo "== (b) progress tick against the statistics file's size"
"$build/bench/run_bench" tick "$work/program" "$ticks"
