#!/usr/bin/env bash
# Installs what is missing, builds, and starts Trawlit. The window program comes next; until
# it exists (and whenever no display is available) this runs a demo search over the
# project's own sources with trawlit-cli and prints the results file.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
ninja -C build -j "$(nproc)"

results=$(mktemp --tmpdir trawlit-demo.XXXXXX.out)
echo "Demo: searching $(pwd)/src for \"FolderWalk\" in *.cpp files"
status=0
./build/trawlit-cli search --root "$(pwd)/src" --find FolderWalk --template '*.cpp' \
    --output "$results" || status=$?
echo
cat "$results"
exit "$status"
