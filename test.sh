#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test twice: in the
# default optimised build a user gets, and under AddressSanitizer and UBSan; the tests that
# start threads run a third time, under ThreadSanitizer.
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
configure() { # folder, extra cmake arguments...
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DTRAWLIT_WERROR=ON -DTRAWLIT_UNITY_BUILD=ON -DTRAWLIT_TEST_SHARDS=ON "${launcher[@]}" "$@" \
        > /dev/null
}

# Folders of its own: ./run.sh's build/ holds the programs alone, without warnings as errors,
# and stays as it is. The tests' own code is not the product: -O1 compiles it far sooner.
configure build-test -DCMAKE_BUILD_TYPE=Release -DTRAWLIT_TEST_OPTIMIZATION=-O1
ninja -C build-test -j "$jobs"
# At -O1 with line tables only: the reports keep their stack traces, and compiling and
# running the instrumented code take far less time. The tests' own code, unoptimised, compiles
# in half the time again.
configure build-asan -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" -DTRAWLIT_SANITIZE=ON \
    -DTRAWLIT_TEST_OPTIMIZATION=-O0
ninja -C build-asan -j "$jobs"
configure build-tsan -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" -DTRAWLIT_TSAN=ON
thread_tests=false
if ninja -C build-tsan -t query trawlit_thread_tests > /dev/null 2>&1; then
    thread_tests=true
    ninja -C build-tsan -j "$jobs" trawlit_thread_tests
fi

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
echo "== tests"
ctest --test-dir build-test --output-on-failure -j "$jobs"
echo "== tests under AddressSanitizer and UBSan"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
if $thread_tests; then
    echo "== tests that start threads, under ThreadSanitizer"
    ctest --test-dir build-tsan --output-on-failure -j "$jobs"
else
    echo "== no test starts threads yet (*ThreadsTest.cpp): ThreadSanitizer not run"
fi
