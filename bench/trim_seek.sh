#!/usr/bin/env bash
# A job trimmed to the last 5 s of a 2-minute clip against one trimmed to its first 5 s, both
# through fp.dll with the encoder command line of "Apple iPad MPEG-4 Movie(*.mp4)". Prints
# both median times and their ratio; the target is at most 1.5.
#
#   bench/trim_seek.sh [BUILD_DIR]      ROUNDS=3
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
rounds=${ROUNDS:-3}
cmake --build "$build" --target vidora_program >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ffmpeg -nostdin -v error -y \
    -f lavfi -i "testsrc=size=640x480:rate=25:duration=120" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=120" \
    -ac 2 -c:v mpeg4 -q:v 5 -c:a libmp3lame -shortest "$work/clip.avi"

# The encoder command line's arguments for a start of $1 seconds and a length of 5 seconds.
encode() {
    "$build/Vidora/fp.dll" -i "$work/clip.avi" -f mp4 -vcodec libx264 -qmin 10 -qmax 51 \
        -qdiff 4 -me_range 16 -keyint_min 25 -qcomp 0.6 -ab 128000 -ac 2 -ar 44100 \
        -b 768000 -r 25 -ss "$1" -t 5 -s 1024x768 -aspect 4:3 -acodec libfaac \
        "$work/out.mp4" -threads 0 -vstats_file "$work/curconvert.log" </dev/null >/dev/null 2>&1
}
seconds() {
    local start end
    start=$(date +%s.%N)
    encode "$1"
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" 'BEGIN { print e - s }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

first=()
last=()
for _ in $(seq 1 "$rounds"); do
    first+=("$(seconds 0)")
    last+=("$(seconds 115)")
done
f=$(printf '%s\n' "${first[@]}" | median)
l=$(printf '%s\n' "${last[@]}" | median)
printf 'first 5 s of the clip: median %.3f s\n' "$f"
printf 'last 5 s of the clip:  median %.3f s\n' "$l"
awk -v l="$l" -v f="$f" 'BEGIN { printf "ratio last/first: %.2f (target <= 1.5)\n", l / f }'
