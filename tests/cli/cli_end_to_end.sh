#!/usr/bin/env bash
# trawlit-cli as a script drives it: exit statuses, what goes to stdout and stderr, and the
# results file.
set -u
cli=${1:?path to trawlit-cli}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() { # description, condition...
    local what=$1
    shift
    if "$@"; then echo "ok - $what"; else echo "FAIL - $what"; failures=$((failures + 1)); fi
}

mkdir -p "$work/tree/sub" "$work/tree/.hidden"
printf 'alpha needle\r\nbeta\r\n' > "$work/tree/a.txt"
printf 'needle in sub\n' > "$work/tree/sub/b.txt"
printf 'needle hidden\n' > "$work/tree/.hidden/c.txt"
out="$work/results.out"

"$cli" search --root "$work/tree" --find needle --output "$out" > "$work/stdout" 2> "$work/stderr"
check "a match exits 0" [ $? -eq 0 ]
check "stdout holds the closing message then the path" \
    [ "$(cat "$work/stdout")" = "$(printf '2 files searched.\n\n2 matches found in 2 files.\n%s' "$out")" ]
check "results file ends with CR LF totals" grep -q $'Number of matches:  2\r$' "$out"
check "no counters on a pipe" [ ! -s "$work/stderr" ]

"$cli" search --root "$work/tree" --find absent --output "$out" > "$work/stdout" 2> "$work/stderr"
check "no match exits 1" [ $? -eq 1 ]
check "no match is said" grep -q 'No matches were found.' "$work/stderr"
check "the results file is still written" grep -q $'Matching files:  0\r$' "$out"

"$cli" search --root "$work/tree" --find needle --no-subfolders --counts-only --output "$out" > /dev/null
check "--no-subfolders and --counts-only" [ "$(grep -c 'B.TXT' "$out")" -eq 0 ] 
check "counts line" grep -q "       1  $work/tree/A.TXT"$'\r' "$out"

"$cli" search --root "$work/tree" --find needle --output /dev/stdout > "$work/piped" 2> "$work/stderr"
check "results on standard output stay whole" [ "$(head -c 17 "$work/piped")" = "Trawlit (version " ]
check "the closing message then goes to stderr" grep -q '2 matches found in 2 files.' "$work/stderr"

"$cli" search --root "$work/tree" --find "   " --output "$out" > /dev/null 2> "$work/stderr"
check "blank text exits 2" [ $? -eq 2 ]
check "blank text is refused in the system's words" grep -q 'Search String must be specified!' "$work/stderr"

"$cli" search --root "$work/missing" --find needle --output "$out" > /dev/null 2> "$work/stderr"
check "missing root exits 2" [ $? -eq 2 ]
check "missing root is named" grep -q 'Root folder not found!' "$work/stderr"

"$cli" search --root "$work/tree" --find needle --output "$work/none/out" > /dev/null 2> "$work/stderr"
check "an uncreatable results file exits 2" [ $? -eq 2 ]
check "its cause is named" grep -q 'Path not found' "$work/stderr"

"$cli" search --root "$work/tree" > /dev/null 2>&1
check "a missing --find is a usage error" [ $? -eq 2 ]

# Ctrl-C: twenty thousand small files keep the run busy long enough to interrupt it.
mkdir -p "$work/big"
(cd "$work/big" && seq 1 20000 | sed 's/^/needle /' | split -l 1 -a 5 - f)
"$cli" search --root "$work/big" --find needle --output "$out" > /dev/null 2>&1 &
pid=$!
sleep 0.05
kill -INT "$pid" 2> /dev/null
wait "$pid"
status=$?
if [ $status -eq 3 ]; then
    check "an interrupted run ends with the abort line" grep -q 'PROCESSING WAS ABORTED VIA USER ACTION' "$out"
else
    check "a run that finished before the interrupt still succeeded" [ $status -eq 0 ]
fi

echo "$((19 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
