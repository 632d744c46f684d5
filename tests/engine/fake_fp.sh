#!/bin/bash
# A stand-in for fp.dll: records its arguments, writes one statistics line, and ends as the
# input's name asks: "fail" exits with an error, "wait" runs until it reads "q" on its input,
# anything else writes the output file and exits 0.
dir=$(dirname "$0")
input="$2"
out=""
prev=""
for a in "$@"; do
  [ "$a" = "-threads" ] && out="$prev"
  prev="$a"
done
printf '%s\n' "$@" > "$dir/args.$(basename "$input")"
echo "frame=   25 q= 2.0 f_size=  1 s_size=  1kB time= 1.000 br= 1.0kbits/s" > "$prev"
case "$input" in
  *fail*)
    echo "Unknown encoder 'nothing'" >&2
    echo "Conversion failed!" >&2
    exit 1 ;;
  *wait*)
    while IFS= read -r -N1 key; do
      [ "$key" = q ] && break
    done
    echo stopped > "$dir/stopped.$(basename "$input")"
    exit 0 ;;
esac
printf 'converted' > "$out"
exit 0
