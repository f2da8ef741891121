#!/usr/bin/env bash
# Builds the whole suite a second time with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs it, program tests included, inside the private test network. Any report
# (a leak too) fails the test that caused it. Extra arguments go to ctest.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

readonly SANITIZE="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

scripts/install-deps.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$SANITIZE" -DCMAKE_EXE_LINKER_FLAGS="$SANITIZE"
cmake --build build-asan
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/support/leak-suppressions.txt:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
scripts/with-test-network.sh ctest --test-dir build-asan --output-on-failure "$@"
