#!/usr/bin/env bash
# Starting the preview at 90 % of a 30-minute generated clip against starting it at 10 %, each
# timed until MPlayer reports that playback started, through the program's own preview into a
# real host window (on a virtual X display when none is given). Prints both medians and their
# ratio; the target is at most 1.5.
#
#   bench/preview_start.sh [BUILD_DIR]      ROUNDS=5
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
rounds=${ROUNDS:-5}
length=1800
cmake --build "$build" --target preview_bench >/dev/null

work=$(mktemp -d)
server=
cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
ffmpeg -nostdin -v error -y \
    -f lavfi -i "testsrc=size=320x240:rate=10:duration=$length" \
    -f lavfi -i "sine=frequency=440:sample_rate=22050:duration=$length" \
    -ac 1 -c:v mpeg4 -q:v 8 -c:a libmp3lame -b:a 32k -shortest "$work/clip 30 min.avi"

if [ -z "${DISPLAY:-}" ]; then
    # A free display number of our own.
    display=
    for n in $(seq 150 250); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=$n; break; }
    done
    [ -n "$display" ] || { echo "no free X display number between 150 and 250" >&2; exit 1; }
    Xvfb ":$display" -nolisten tcp -screen 0 1024x768x24 >/dev/null 2>&1 &
    server=$!
    for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
    if [ ! -e "/tmp/.X11-unix/X$display" ] || ! kill -0 "$server" 2>/dev/null; then
        echo "Xvfb did not start display :$display (package xvfb); set DISPLAY to use another" >&2
        exit 1
    fi
    export DISPLAY=":$display"
fi
QT_QPA_PLATFORM=xcb "$build/bench/preview_bench" "$build/Vidora" "$work/clip 30 min.avi" \
    "$length" "$rounds"
