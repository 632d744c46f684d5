#!/usr/bin/env bash
# A 30-second recording from the test pattern device (640x480, 25 frames/s) through the capture
# window while its live picture shows: dropped frames, the program's own CPU share of the wall
# time beside the tools', and the AVI's length. Without a display it starts a virtual one.
#
#   bench/capture_recording.sh [BUILD_DIR]      SECONDS_OF_RECORDING=30
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
seconds=${SECONDS_OF_RECORDING:-30}
cmake --build "$build" --target capture_bench >/dev/null

work=$(mktemp -d)
xvfb=
cleanup() {
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
if [[ -z ${DISPLAY:-} ]]; then
    exec 3<> "$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do
        [[ -s $work/display ]] && break
        sleep 0.1
    done
    number=$(head -n1 "$work/display")
    if [[ ! $number =~ ^[0-9]+$ ]] || ! kill -0 "$xvfb" 2>/dev/null; then
        echo "Xvfb did not start a display (package xvfb); set DISPLAY to use another" >&2
        exit 1
    fi
    export DISPLAY=:$number
fi
export QT_QPA_PLATFORM=xcb

echo "== a $seconds-second recording of the test pattern with the live picture (DISPLAY=$DISPLAY)"
"$build/bench/capture_bench" "$build/Vidora" "$work/bench capture.avi" "$seconds"
