#!/usr/bin/env bash
# The first search of a tree since boot: the page cache is dropped before every run. Trawlit
# at its default threads and at 8, ripgrep at its default threads and at 8, and the floor (a
# bare parallel walk that opens, reads and closes every file) at 2 and 8 readers, in
# interleaved rounds on both corpora; medians, and ratios to the 8-reader floor and to ripgrep.
#   sudo ./bench/run-cold-bench.sh CORPORA OUT [ROUNDS]
# Needs root (to drop the page cache), ripgrep, a C compiler and the shared kit's floor.c
# (FLOOR_C, else found in shared/bench beside the checkout). TRAWLIT_CLI names the
# trawlit-cli (default build/trawlit-cli); OLD_CLI, when set, adds an earlier build's run.
set -euo pipefail
corpora=${1:?corpora folder, from make-corpora.py of the shared kit}
out=${2:?output folder}
rounds=${3:-3}
here=$(cd "$(dirname "$0")" && pwd)
cli=${TRAWLIT_CLI:-$here/../build/trawlit-cli}
floor_c=${FLOOR_C:-}
for guess in "$here/../../shared/bench/floor.c" "$here/../../../shared/bench/floor.c"; do
    [ -n "$floor_c" ] || [ ! -f "$guess" ] || floor_c=$guess
done
literal=unfortunately
if [ "$(id -u)" != 0 ]; then
    echo "run-cold-bench.sh: dropping the page cache needs root" >&2
    exit 2
fi
for tool in rg cc; do
    command -v $tool > /dev/null || { echo "run-cold-bench.sh: needs $tool" >&2; exit 2; }
done
[ -f "$floor_c" ] || { echo "run-cold-bench.sh: no floor.c at $floor_c (set FLOOR_C)" >&2; exit 2; }
mkdir -p "$out"
cc -O2 -pthread -o "$out/floor" "$floor_c"

names=(trawlit trawlit-t8 rg rg-j8 floor-2 floor-8)
command_of() {
    local dir=$1
    case $2 in
    trawlit) echo "$cli search --root $dir --find $literal --case-sensitive --output $out/t.txt" ;;
    trawlit-t8) echo "$cli search --root $dir --find $literal --case-sensitive --threads 8 --output $out/t8.txt" ;;
    old) echo "$OLD_CLI search --root $dir --find $literal --case-sensitive --output $out/old.txt" ;;
    rg) echo "rg -n -F --no-heading --no-config -- $literal $dir > $out/rg.txt" ;;
    rg-j8) echo "rg -j8 -n -F --no-heading --no-config -- $literal $dir > $out/rg8.txt" ;;
    floor-2) echo "$out/floor $dir 2 > /dev/null" ;;
    floor-8) echo "$out/floor $dir 8 > /dev/null" ;;
    esac
}
[ -n "${OLD_CLI:-}" ] && names+=(old)

: > "$out/times.txt"
for round in $(seq "$rounds"); do
    for corpus in small big; do
        for name in "${names[@]}"; do
            cmd=$(command_of "$corpora/$corpus" "$name")
            sync
            echo 3 > /proc/sys/vm/drop_caches
            start=$(date +%s.%N)
            bash -c "$cmd" > /dev/null || [ $? -eq 1 ]
            end=$(date +%s.%N)
            echo "$corpus $name $(echo "$end - $start" | bc)" >> "$out/times.txt"
        done
    done
    echo "round $round of $rounds done" >&2
done

python3 - "$out/times.txt" "${names[@]}" << 'PY'
import statistics, sys
rows = [l.split() for l in open(sys.argv[1])]
names = sys.argv[2:]
for corpus in ("small", "big"):
    t = {n: [float(s) for c, m, s in rows if c == corpus and m == n] for n in names}
    med = {n: statistics.median(v) for n, v in t.items() if v}
    print(f"\n{corpus}: cold, median of {len(t[names[0]])} (s); ratio to floor-8, to rg")
    for n in names:
        runs = " ".join(f"{x:.2f}" for x in t[n])
        print(f"  {n:11} {med[n]:6.2f}  x{med[n] / med['floor-8']:.2f}  x{med[n] / med['rg']:.2f}   [{runs}]")
PY
