#!/usr/bin/env bash
# The core must build without Qt: no Qt include in any source the core library globs
# (everything under src/ but the programs' main files and the Qt layer's frm*/…Qt* files).
set -u
root=${1:?source root}
hits=$(find "$root/src" -name '*.h' -o -name '*.cpp' -o -name '*.h.in' | grep -v '/src/app/' |
    grep -v -E '/frm[^/]*$|Qt[^/]*$' | xargs grep -l -E '#\s*include\s*[<"]Q' || true)
if [ -n "$hits" ]; then
    echo "Qt includes in core sources:"
    echo "$hits"
    exit 1
fi
echo "core is free of Qt"
