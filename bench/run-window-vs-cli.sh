#!/usr/bin/env bash
# The window's search against trawlit-cli's on the same tree with the same threads, warm cache,
# interleaved runs: the window runs offscreen through bench/window-driver (built here against
# the build folder), which times the run from the click to the end; the CLI is timed whole.
#   ./bench/run-window-vs-cli.sh TREE OUT [ROUNDS] [THREADS] [TEXT]
# Needs cmake, Qt 6's development files and a Release build folder (BUILD, default build/)
# holding trawlit-cli and trawlit_qt (ninja -C build trawlit-cli trawlit_qt).
set -euo pipefail
tree=${1:?the tree to search}
out=${2:?output folder}
rounds=${3:-7}
threads=${4:-$(nproc)}
text=${5:-unfortunately}
here=$(cd "$(dirname "$0")" && pwd)
build=${BUILD:-$here/../build}
for file in "$build/trawlit-cli" "$build/libtrawlit_qt.a"; do
    [ -f "$file" ] || { echo "run-window-vs-cli.sh: no $file (ninja trawlit-cli trawlit_qt)" >&2; exit 2; }
done
mkdir -p "$out"
cmake -S "$here/window-driver" -B "$out/driver" -DCMAKE_BUILD_TYPE=Release \
    -DTRAWLIT_BUILD="$(cd "$build" && pwd)" > "$out/driver.log"
cmake --build "$out/driver" >> "$out/driver.log"
driver=$out/driver/window-driver
export QT_QPA_PLATFORM=offscreen

"$build/trawlit-cli" search --root "$tree" --find "$text" --case-sensitive --output "$out/warm.txt" > /dev/null || true
: > "$out/times.txt"
for round in $(seq "$rounds"); do
    echo "window $("$driver" "$tree" "$text" "$out/window.txt" "$threads" 2>> "$out/driver-run.log")" \
        >> "$out/times.txt"
    start=$(date +%s.%N)
    "$build/trawlit-cli" search --root "$tree" --find "$text" --case-sensitive \
        --threads "$threads" --output "$out/cli.txt" > /dev/null || [ $? -eq 1 ]
    echo "cli $(echo "$(date +%s.%N) - $start" | bc)" >> "$out/times.txt"
done
# The results files differ only in the date and their own name.
cmp -s <(tail -n +2 "$out/window.txt" | grep -av "Output file:") \
    <(tail -n +2 "$out/cli.txt" | grep -av "Output file:") \
    || echo "run-window-vs-cli.sh: the window's results differ from the CLI's" >&2

python3 - "$out/times.txt" << 'PY'
import statistics, sys
rows = [l.split() for l in open(sys.argv[1])]
window = [float(s) for w, s in rows if w == "window"]
cli = [float(s) for w, s in rows if w == "cli"]
pairs = sorted(w / c for w, c in zip(window, cli))
print(f"window {statistics.median(window):.3f} s, cli {statistics.median(cli):.3f} s, "
      f"window/cli median of pairs x{statistics.median(pairs):.2f} "
      f"(from x{pairs[0]:.2f} to x{pairs[-1]:.2f}, {len(pairs)} rounds)")
PY
