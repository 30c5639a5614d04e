#!/usr/bin/env bash
# The search on several threads against one thread and against ripgrep with its own default
# threads and with one: warm cache, a rare literal, output to files, on both corpora.
#   ./bench/run-threads-bench.sh CORPORA OUT [RUNS]
# TRAWLIT_CLI names the trawlit-cli to measure (default build/trawlit-cli); OLD_CLI, when set,
# adds an earlier build's single-threaded run, to show --threads 1 kept its speed.
set -euo pipefail
corpora=${1:?corpora folder (bench/make-corpus.sh)}
out=${2:?output folder}
runs=${3:-10}
here=$(cd "$(dirname "$0")" && pwd)
cli=${TRAWLIT_CLI:-$here/../build/trawlit-cli}
literal=unfortunately
mkdir -p "$out"
command -v hyperfine > /dev/null || { echo "needs hyperfine and ripgrep" >&2; exit 2; }

for corpus in small big; do
    dir=$corpora/$corpus
    commands=(
        -n default "$cli search --root $dir --find $literal --output $out/default.txt"
        -n threads-1 "$cli search --root $dir --find $literal --threads 1 --output $out/one.txt"
        -n rg-default "rg -n -F --no-heading --no-config -- $literal $dir > $out/rg.txt"
        -n rg-j1 "rg -j1 -n -F --no-heading --no-config -- $literal $dir > $out/rg1.txt"
    )
    if [ -n "${OLD_CLI:-}" ]; then
        commands+=(-n old "$OLD_CLI search --root $dir --find $literal --output $out/old.txt")
    fi
    hyperfine -w 2 -r "$runs" -i --style basic --export-json "$out/$corpus.json" "${commands[@]}" \
        > "$out/$corpus.log" 2>&1
    # The same results path for both, which the results file names.
    "$cli" search --root "$dir" --find $literal --output "$out/same.txt" > /dev/null
    mv "$out/same.txt" "$out/default.txt"
    "$cli" search --root "$dir" --find $literal --threads 1 --output "$out/same.txt" > /dev/null
    cmp -s <(tail -n +2 "$out/default.txt") <(tail -n +2 "$out/same.txt") \
        || echo "$corpus: the results of the default and of --threads 1 differ" >&2
done

python3 - "$out" << 'EOF'
import json, statistics, sys
out = sys.argv[1]
print(f"{'corpus':8} {'command':11} {'median ms':>10} {'/threads-1':>11} {'/rg-default':>12} {'/rg-j1':>8}")
for corpus in ("small", "big"):
    results = json.load(open(f"{out}/{corpus}.json"))["results"]
    median = {r["command"]: statistics.median(r["times"]) * 1000 for r in results}
    for name, ms in median.items():
        print(f"{corpus:8} {name:11} {ms:10.0f} {ms / median['threads-1']:11.2f} "
              f"{ms / median['rg-default']:12.2f} {ms / median['rg-j1']:8.2f}")
EOF
