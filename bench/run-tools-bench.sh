#!/usr/bin/env bash
# Times the batch tools of trawlit-cli against the shell commands a user would otherwise
# write for the same job, on the corpora of make-corpus.sh, warm cache, one hyperfine run per
# case. The shell commands do less (no header, no sorted walk by name ignoring case, no
# per-file record), so a ratio near 1 means the tool costs no more than the bare job.
# Usage: run-tools-bench.sh CORPORA OUT [RUNS]
set -euo pipefail
corpora=${1:?corpora folder}
out=${2:?output folder}
runs=${3:-5}
here=$(cd "$(dirname "$0")" && pwd)
cli=${TRAWLIT_CLI:-$here/../build/trawlit-cli}
mkdir -p "$out"
export LC_ALL=C
for kind in small big; do find "$corpora/$kind" -type f -print0 | xargs -0 cat > /dev/null; done

tool_case() { # name tool corpus shell-command
    local name=$1 tool=$2 corpus=$3 shell=$4 r="$out/$1"
    hyperfine -w 1 -r "$runs" -i --style basic --export-json "$r.json" \
        -n trawlit "$cli $tool --root $corpora/$corpus --output $r.trawlit" \
        -n shell "$shell > $r.shell" > "$r.log" 2>&1
}

for corpus in small big; do
    dir=$corpora/$corpus
    tool_case "$corpus-listing" listing "$corpus" "find $dir -printf '%d %p\n' | sort -f"
    tool_case "$corpus-c-headers" c-headers "$corpus" \
        "find $dir -type f -exec awk 'FNR==1{print FILENAME} {print \"\\t\" \$0} /^(\\*\\/|#i)/{nextfile}' {} +"
    tool_case "$corpus-change-marks" change-marks "$corpus" \
        "find $dir -type f -exec grep -c -E '^/[CDI]' {} +"
done
python3 - "$out" <<'PY'
import json, pathlib, sys
rows = []
for f in sorted(pathlib.Path(sys.argv[1]).glob("*.json")):
    res = {r["command"]: r["median"] * 1000 for r in json.load(open(f))["results"]}
    rows.append((f.stem, res["trawlit"], res["shell"], res["trawlit"] / res["shell"]))
print("| case | Trawlit ms | shell ms | Trawlit/shell |")
print("|---|---|---|---|")
for name, t, s, ratio in rows:
    print(f"| {name} | {t:.0f} | {s:.0f} | {ratio:.2f} |")
PY
