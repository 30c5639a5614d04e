#!/bin/bash
# Threads under resource limits write what one thread writes: few descriptors, no memory for
# more threads. Usage: limits_threads.sh path/to/trawlit-cli
set -u
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for folder in $(seq 1 200); do
    mkdir -p "$work/tree/d$folder"
    for file in $(seq 1 10); do
        printf 'hay\nneedle %s %s\nhay\n' "$folder" "$file" > "$work/tree/d$folder/f$file.txt"
    done
done

# The header names the results file: each run writes to the same name in turn.
search() { # limit threads
    (ulimit -n "$1"; "$cli" search --root "$work/tree" --find needle --threads "$2" \
        --output "$work/out" > "$work/stdout" 2> "$work/stderr")
    status=$?
    sed 1d "$work/out" > "$work/out.$1.$2"
}

search 64 1
grep -q "2000 files searched" "$work/stdout" || fail "reference run: $(cat "$work/stdout")"
for limit in 16 8; do
    search "$limit" 1
    cmp -s "$work/out.64.1" "$work/out.$limit.1" || fail "one thread under ulimit -n $limit"
    search "$limit" 4
    cmp -s "$work/out.64.1" "$work/out.$limit.4" \
        || fail "four threads under ulimit -n $limit: $(cat "$work/stdout" "$work/stderr")"
    [ "$status" -eq 0 ] || fail "four threads under ulimit -n $limit: exit $status"
done

# No room for the threads' stacks and heaps: the run goes on with the threads it can hold.
for limits in "131072 16" "262144 64"; do
    set -- $limits
    (ulimit -v "$1"; "$cli" search --root "$work/tree" --find needle --threads "$2" \
        --output "$work/out" > "$work/stdout" 2> "$work/stderr")
    status=$?
    sed 1d "$work/out" > "$work/out.v"
    [ "$status" -eq 0 ] || fail "$2 threads under ulimit -v $1: exit $status $(cat "$work/stderr")"
    cmp -s "$work/out.64.1" "$work/out.v" || fail "$2 threads under ulimit -v $1: other results"
done

[ "$failures" -eq 0 ] && echo "all limits checks passed"
exit $((failures > 0))
