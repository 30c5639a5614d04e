#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test twice: in the
# default optimised build a user gets, and under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

jobs=$(nproc)
launcher=()
if command -v ccache > /dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Hits across clones, and with the precompiled headers.
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
    export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
fi
build() { # folder, extra cmake arguments...
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DTRAWLIT_WERROR=ON "${launcher[@]}" "$@" > /dev/null
    ninja -C "$dir" -j "$jobs"
}

build build -DCMAKE_BUILD_TYPE=Release
# At -O1 with line tables only: the reports keep their stack traces, and compiling and
# running the instrumented code take far less time.
build build-asan -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" -DTRAWLIT_SANITIZE=ON

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
echo "== tests"
ctest --test-dir build --output-on-failure -j "$jobs"
echo "== tests under AddressSanitizer and UBSan"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
