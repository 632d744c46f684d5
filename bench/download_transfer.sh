#!/usr/bin/env bash
# Downloading a 200 MB body from a loopback server through DownloadToFile against `curl -o`
# from the same server, side by side in one run (alternating, ROUNDS each). Each side is a whole
# process run for one transfer (download_bench, curl), timed alike. Prints the median times,
# their ratio (target: at most 1.25) and the program's resident memory growth during a download
# (target: at most 32 MB).
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

# Both sides are timed the same way: a whole process run, from its start to its end, for one
# transfer. The two take turns going first.
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
curl_times=()
program_times=()
inside_times=()
growth=0
run_curl() {
    local start
    start=$(now_ms)
    curl -s -o "$work/curl.bin" "$url"
    curl_times+=($(( $(now_ms) - start )))
    [ "$(stat -c %s "$work/curl.bin")" -eq "$bytes" ] || { echo "curl got a short file"; exit 1; }
    rm -f "$work/curl.bin"
}
run_program() {
    local start ms kb
    start=$(now_ms)
    "$build/bench/download_bench" "$url" "$work" program.bin > "$work/figures"
    program_times+=($(( $(now_ms) - start )))
    read -r ms kb < "$work/figures"
    inside_times+=("$ms")
    [ "$(stat -c %s "$work/program.bin")" -eq "$bytes" ] || { echo "DownloadToFile got a short file"; exit 1; }
    rm -f "$work/program.bin"
    [ "$kb" -gt "$growth" ] && growth=$kb
    return 0
}
for round in $(seq 1 "$rounds"); do
    if (( round % 2 )); then run_curl; run_program; else run_program; run_curl; fi
    echo "round $round: curl -o ${curl_times[-1]} ms, download_bench ${program_times[-1]} ms" \
         "(DownloadToFile itself ${inside_times[-1]} ms)"
done

curl_median=$(printf '%s\n' "${curl_times[@]}" | median)
program_median=$(printf '%s\n' "${program_times[@]}" | median)
inside_median=$(printf '%s\n' "${inside_times[@]}" | median)
echo "${mb} MB body, median of $rounds whole runs: curl -o ${curl_median} ms, download_bench ${program_median} ms (DownloadToFile itself ${inside_median} ms)"
awk -v p="$program_median" -v c="$curl_median" 'BEGIN { printf "ratio download_bench / curl -o: %.2f (target <= 1.25)\n", p / c }'
echo "largest resident memory growth during a download: $((growth / 1024)) MB (target <= 32 MB)"
