#!/bin/bash
# A stand-in for fp.dll: records its arguments, writes one statistics line, and ends as the
# input's name asks: "fail" exits with an error after FFmpeg-like banner lines, "full" fails as
# on a full disk, "kill" is killed by signal 9, "wait" runs until it reads "q" on its input,
# "quiet" writes no statistics line; anything else writes the output file and exits 0.
dir=$(dirname "$0")
input="$2"
out=""
prev=""
for a in "$@"; do
  [ "$a" = "-threads" ] && out="$prev"
  prev="$a"
done
printf '%s\n' "$@" > "$dir/args.$(basename "$input")"
case "$input" in
  *quiet*) ;;
  *) echo "frame=   25 q= 2.0 f_size=  1 s_size=  1kB time= 1.000 br= 1.0kbits/s" > "$prev" ;;
esac
case "$input" in
  *fail*)
    echo "ffmpeg version 5.1.4 Copyright (c) 2000-2023 the FFmpeg developers" >&2
    echo "  libavutil      57. 28.100 / 57. 28.100" >&2
    echo "Input #0, avi, from '$input':" >&2
    echo "  Stream #0:0: Video: mpeg4 (Simple Profile), yuv420p, 640x480, 25 fps" >&2
    echo "Unknown encoder 'nothing'" >&2
    echo "Conversion failed!" >&2
    exit 1 ;;
  *full*)
    echo "frame=   10 fps=0.0 q=2.0 size=    2048kB time=00:00:00.40 bitrate=41943.0kbits/s" >&2
    echo "[mp4 @ 0x55] Error writing trailer of $out: No space left on device" >&2
    echo "Conversion failed!" >&2
    exit 1 ;;
  *kill*)
    kill -9 $$ ;;
  *wait*)
    while IFS= read -r -N1 key; do
      [ "$key" = q ] && break
    done
    echo stopped > "$dir/stopped.$(basename "$input")"
    exit 0 ;;
esac
printf 'converted' > "$out"
exit 0
