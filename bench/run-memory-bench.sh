#!/usr/bin/env bash
# Peak memory of every run of trawlit-cli that reads files, on generated files whose lines
# are hostile: 200 MB without a line end, 1 GiB of short lines, 2 GiB of zero bytes (sparse, so
# it takes no disk). Each run is made under a limit on address space, so a run that would take
# more dies instead of taking the machine down; the table shows how it ended.
# Usage: run-memory-bench.sh [WORK] (default /tmp/trawlit-membench; removed afterwards)
# Environment: TRAWLIT_CLI (default build-rel/trawlit-cli), LIMIT_KIB (default 1048576).
set -euo pipefail
work=${1:-/tmp/trawlit-membench}
here=$(cd "$(dirname "$0")" && pwd)
cli=${TRAWLIT_CLI:-$here/../build-rel/trawlit-cli}
limit=${LIMIT_KIB:-1048576}
[ -x "$cli" ] || { echo "no trawlit-cli at $cli (build Release into build-rel)" >&2; exit 2; }
command -v /usr/bin/time > /dev/null || { echo "needs /usr/bin/time (package time)" >&2; exit 2; }

rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/long-line" "$work/text" "$work/zeros"
export LC_ALL=C

# The text to find sits at the very end of each file: the latest hit there can be. (yes ends
# on a broken pipe.)
set +o pipefail
{ yes 'lorem ipsum  dolor sit amet,' | tr -d '\n' | head -c 200000000; printf 'needle'; } \
    > "$work/long-line/one-line.txt"
{ yes 'the quick brown fox jumps over the lazy dog 0123456789' | head -c 1073741824; printf 'needle\n'; } \
    > "$work/text/lines.txt"
set -o pipefail
truncate -s 2G "$work/zeros/disk.img"

run() { # label folder subcommand [options]
    local label=$1 folder=$2
    shift 2
    local out="$work/results.txt" report="$work/time.txt" status=0
    (ulimit -v "$limit"; /usr/bin/time -v "$cli" "$@" --root "$folder" --output "$out" \
        > /dev/null 2> "$report") || status=$?
    local kib seconds
    kib=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$report")
    seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$report")
    grep -q 'bad_alloc' "$report" && status="$status (bad_alloc)"
    printf '%-34s %10s %10s   %s\n' "$label" "$(awk -v k="$kib" 'BEGIN {printf "%.1f", k / 1024}')" \
        "$seconds" "$status"
    rm -f "$out"
}

printf 'address space limit: %s KiB, %s\n\n' "$limit" "$cli"
printf '%-34s %10s %10s   %s\n' run 'peak MiB' 'wall' 'exit status'
for folder in long-line text zeros; do
    dir="$work/$folder"
    run "$folder search needle" "$dir" search --find needle
    run "$folder search absent" "$dir" search --find absent
    run "$folder search needle collapsed" "$dir" search --find 'needle' --collapse-white-space
    run "$folder search needle counts" "$dir" search --find needle --counts-only
    run "$folder search needle jsonl" "$dir" search --find needle --format jsonl
    run "$folder search needle grep" "$dir" search --find needle --format grep
    run "$folder c-headers" "$dir" c-headers
    run "$folder change-marks" "$dir" change-marks
    # Every zero byte is a character a web page cannot hold: one results line each.
    [ "$folder" = zeros ] || run "$folder web-cleanup" "$dir" web-cleanup
done
