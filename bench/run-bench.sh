#!/usr/bin/env bash
# Times trawlit-cli against GNU grep and ripgrep (one thread each) on the corpora of
# make-corpus.sh, in one hyperfine run per case, warm cache, every tool writing to a file
# (grep stops early when its output is /dev/null). Prints the medians and the ratios.
# Usage: run-bench.sh CORPORA OUT [RUNS]
set -euo pipefail
corpora=${1:?corpora folder}
out=${2:?output folder}
runs=${3:-10}
here=$(cd "$(dirname "$0")" && pwd)
cli=${TRAWLIT_CLI:-$here/../build/trawlit-cli}
mkdir -p "$out"
export LC_ALL=C
for kind in small big; do find "$corpora/$kind" -type f -print0 | xargs -0 cat > /dev/null; done

case_of() { # name corpus literal [trawlit options] -- [grep options]
    local name=$1 corpus=$2 literal=$3
    shift 3
    local topts=() gopts=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do topts+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    gopts=("$@")
    local r="$out/$name"
    hyperfine -w 2 -r "$runs" -i --style basic --export-json "$r.json" \
        -n trawlit "$cli search --threads 1 --root $corpora/$corpus --find '$literal' --output $r.trawlit ${topts[*]}" \
        -n grep "grep -r -n -a -F ${gopts[*]} -- '$literal' $corpora/$corpus > $r.grep" \
        -n rg "rg -j1 -uuu -a -n -F --no-heading --no-config ${gopts[*]} -- '$literal' $corpora/$corpus > $r.rg" \
        > "$r.log" 2>&1
}

for corpus in small big; do
    case_of "$corpus-common" "$corpus" return --case-sensitive --
    case_of "$corpus-common-i" "$corpus" return -- -i
    case_of "$corpus-rare" "$corpus" unfortunately --case-sensitive --
    case_of "$corpus-rare-i" "$corpus" unfortunately -- -i
    case_of "$corpus-absent" "$corpus" xyzzy_not_there --case-sensitive --
    case_of "$corpus-collapse" "$corpus" unfortunately --case-sensitive --collapse-white-space --
    case_of "$corpus-counts" "$corpus" return --case-sensitive --counts-only -- -c
done
python3 "$here/ratios.py" "$out"
