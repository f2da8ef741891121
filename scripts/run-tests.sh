#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite inside the
# private test network. Extra arguments go to ctest.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
scripts/with-test-network.sh ctest --test-dir build --output-on-failure "$@"
