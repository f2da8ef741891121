#!/usr/bin/env bash
# Builds the printer lanes' own tests with ThreadSanitizer into build-tsan/ and runs them: the
# lanes are the one place where threads meet (their locked queues and the queued calls that
# carry outcomes back). Extra arguments go to ctest.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

readonly SANITIZE="-fsanitize=thread -fno-omit-frame-pointer"

scripts/install-deps.sh
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$SANITIZE" -DCMAKE_EXE_LINKER_FLAGS="$SANITIZE"
cmake --build build-tsan --target lanes_tests
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
ctest --test-dir build-tsan -R '^lanes_tests$' --output-on-failure "$@"
