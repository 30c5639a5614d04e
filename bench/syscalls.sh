#!/usr/bin/env bash
# System calls per searched file for Trawlit, GNU grep and ripgrep (-j1), counted by strace.
# Usage: syscalls.sh TREE
set -euo pipefail
tree=${1:?folder}
here=$(cd "$(dirname "$0")" && pwd)
cli=${TRAWLIT_CLI:-$here/../build/trawlit-cli}
files=$(find "$tree" -type f | wc -l)
count() { strace -f -c -o /tmp/trawlit-strace.txt "$@" > /dev/null 2>&1 || true; awk '$NF == "total" {print $4}' /tmp/trawlit-strace.txt; }
t=$(count "$cli" search --threads 1 --root "$tree" --find unfortunately --case-sensitive --output /tmp/trawlit-bench.out)
g=$(count grep -r -n -F unfortunately "$tree")
r=$(count rg -j1 -uuu -n -F --no-config unfortunately "$tree")
awk -v f="$files" -v t="$t" -v g="$g" -v r="$r" 'BEGIN {
    printf "files %d\ntrawlit %.1f calls/file\ngrep    %.1f calls/file\nrg -j1  %.1f calls/file\n", f, t/f, g/f, r/f }'
