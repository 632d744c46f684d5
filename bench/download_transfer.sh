#!/usr/bin/env bash
# Downloading a 200 MB body from a loopback server through DownloadToFile against `curl -o`
# from the same server, side by side in one run (alternating, ROUNDS each). Prints the median
# times, their ratio (target: at most 1.25) and the program's resident memory growth during a
# download (target: at most 32 MB).
#
#   bench/download_transfer.sh [BUILD_DIR]      (default: build)
#   MB=200 ROUNDS=5 bench/download_transfer.sh build
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
mb=${MB:-200}
rounds=${ROUNDS:-5}
bytes=$((mb * 1024 * 1024))

cmake --build "$build" --target http_body_server download_bench >/dev/null

work=$(mktemp -d)
coproc SERVER { "$build/bench/http_body_server" "$bytes"; }
trap 'kill "$SERVER_PID" 2>/dev/null || true; rm -rf "$work"' EXIT
read -r port <&"${SERVER[0]}"
url="http://127.0.0.1:$port/body"

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

curl_times=()
program_times=()
growth=0
for round in $(seq 1 "$rounds"); do
    start=$(date +%s%N)
    curl -s -o "$work/curl.bin" "$url"
    curl_times+=($(( ($(date +%s%N) - start) / 1000000 )))
    [ "$(stat -c %s "$work/curl.bin")" -eq "$bytes" ] || { echo "curl got a short file"; exit 1; }
    rm -f "$work/curl.bin"

    read -r ms kb < <("$build/bench/download_bench" "$url" "$work" program.bin)
    program_times+=("$ms")
    [ "$(stat -c %s "$work/program.bin")" -eq "$bytes" ] || { echo "DownloadToFile got a short file"; exit 1; }
    rm -f "$work/program.bin"
    [ "$kb" -gt "$growth" ] && growth=$kb
    echo "round $round: curl ${curl_times[-1]} ms, DownloadToFile $ms ms, memory growth $((kb / 1024)) MB"
done

curl_median=$(printf '%s\n' "${curl_times[@]}" | median)
program_median=$(printf '%s\n' "${program_times[@]}" | median)
echo "${mb} MB body, median of $rounds: curl -o ${curl_median} ms, DownloadToFile ${program_median} ms"
awk -v p="$program_median" -v c="$curl_median" 'BEGIN { printf "ratio DownloadToFile / curl: %.2f (target <= 1.25)\n", p / c }'
echo "largest resident memory growth during a download: $((growth / 1024)) MB (target <= 32 MB)"
