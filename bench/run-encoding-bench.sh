#!/usr/bin/env bash
# Times a search for a text beyond ASCII ignoring case against the same search case-sensitive,
# on a folder of translated texts in UTF-8, Latin-1 (read as Windows-1252) and UTF-16 (built
# from the vim tutors when missing) and on the small source corpus of make-corpus.sh.
# Usage: run-encoding-bench.sh CORPORA OUT [RUNS]
set -euo pipefail
corpora=${1:?corpora folder}
out=${2:?output folder}
runs=${3:-10}
here=$(cd "$(dirname "$0")" && pwd)
cli=${TRAWLIT_CLI:-$here/../build/trawlit-cli}
tutors=${TUTORS:-/usr/share/vim/vim90/tutor}
mkdir -p "$out"
export LC_ALL=C

tongues=$corpora/tongues
if [ ! -d "$tongues" ]; then
    for copy in $(seq 1 20); do
        mkdir -p "$tongues/$copy"
        for f in "$tutors"/tutor.*.utf-8; do
            name=$(basename "$f" .utf-8)
            cp "$f" "$tongues/$copy/$name.utf8.txt"
            iconv -f UTF-8 -t UTF-16 "$f" > "$tongues/$copy/$name.utf16.txt"
        done
        for lang in fr de es it da nl sv; do
            [ -f "$tutors/tutor.$lang" ] && cp "$tutors/tutor.$lang" "$tongues/$copy/tutor.$lang.latin1.txt"
        done
    done
fi
find "$tongues" "$corpora/small" -type f -print0 | xargs -0 cat > /dev/null

case_of() { # name corpus text
    local name=$1 corpus=$2 text=$3
    local r="$out/$name"
    hyperfine -w 2 -r "$runs" -i --style basic --export-json "$r.json" \
        -n sensitive "$cli search --root $corpora/$corpus --find '$text' --output $r.cs --case-sensitive" \
        -n ignoring "$cli search --root $corpora/$corpus --find '$text' --output $r.i" \
        > "$r.log" 2>&1
}

case_of tongues-latin tongues 'Leçon'
case_of tongues-cyrillic tongues 'урок'
case_of tongues-greek tongues 'μάθημα'
case_of small-latin small 'Größe'
python3 - "$out" <<'PY'
import json, os, statistics, sys
out = sys.argv[1]
print(f"{'case':18s} {'sensitive':>9s} {'ignoring':>9s} {'ratio':>6s}")
for name in sorted(f[:-5] for f in os.listdir(out) if f.endswith(".json")):
    results = json.load(open(os.path.join(out, name + ".json")))["results"]
    ms = {r["command"]: statistics.median(r["times"]) * 1000 for r in results}
    s, i = ms["sensitive"], ms["ignoring"]
    print(f"{name:18s} {s:9.0f} {i:9.0f} {i / s:6.2f}")
PY
