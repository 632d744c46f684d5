#!/bin/bash
# A stand-in for mp.dll in a preview: records its folder and arguments (one a line) in
# args.<pid>, then the keys it reads in keys.<pid>, and quits on "q" as MPlayer does. A file
# whose name holds "ends" makes it end at once, as a player at the end of its file; one whose
# name holds "stubborn" makes it ignore "q", as a player hung in its output.
dir=$(dirname "$0")
{ pwd; printf '%s\n' "$@"; } > "$dir/args.tmp.$$"
mv "$dir/args.tmp.$$" "$dir/args.$$"
case "${!#}" in
  *ends*) exit 0 ;;
esac
: > "$dir/keys.$$"
while IFS= read -r -N1 key; do
  printf '%s' "$key" >> "$dir/keys.$$"
  [ "$key" = q ] && [[ "${!#}" != *stubborn* ]] && exit 0
done
exit 0
