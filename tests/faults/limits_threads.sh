#!/bin/bash
# Threads under resource limits write what one thread writes: few descriptors, no memory for
# more threads; a run out of memory says so. Usage: limits_threads.sh path/to/trawlit-cli
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

# Memory that runs out: the least address space a one-file tree is searched in, then a folder
# whose listing needs megabytes more. The run says so, exits 2 and marks its results file.
mkdir -p "$work/tiny" "$work/wide"
echo needle > "$work/tiny/a.txt"
(cd "$work/wide" && seq -f "$(printf 'x%.0s' $(seq 200))%06g.txt" 60000 | xargs touch)
echo needle > "$work/wide/zzz.txt"
searched_within() { # KiB root
    (ulimit -v "$1"; "$cli" search --root "$2" --find needle --threads 1 \
        --output "$work/mem.out" > /dev/null 2> "$work/stderr")
}
least=""
for kib in $(seq 4000 1000 64000); do
    searched_within "$kib" "$work/tiny" && least=$kib && break
done
if [ -z "$least" ]; then
    fail "a one-file tree found no address-space limit it runs in"
else
    searched_within $((least + 2000)) "$work/wide"
    status=$?
    [ "$status" -eq 2 ] || fail "out of memory: exit $status, not 2"
    grep -qx "trawlit-cli: Memory ran out: the run was ended and its results file is incomplete." \
        "$work/stderr" || fail "out of memory: said $(cat "$work/stderr")"
    grep -q "PROCESSING WAS ABORTED" "$work/mem.out" || fail "out of memory: results not marked"
fi

[ "$failures" -eq 0 ] && echo "all limits checks passed"
exit $((failures > 0))
