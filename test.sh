#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test: once in a
# normal build, once under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

jobs=$(nproc)
build() { # folder, extra cmake arguments...
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" > /dev/null
    ninja -C "$dir" -j "$jobs"
}

build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
build build-asan -DCMAKE_BUILD_TYPE=Debug -DTRAWLIT_SANITIZE=ON

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
echo "== tests"
ctest --test-dir build --output-on-failure -j "$jobs"
echo "== tests under AddressSanitizer and UBSan"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
