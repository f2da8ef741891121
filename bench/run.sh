#!/usr/bin/env bash
# Runs the benchmarks against the real program, database, pseudo-terminals and virtual printers
# inside the private test network. Names given as arguments (e.g. latency) pick benchmarks;
# the soak (about 8 minutes) runs only when named.
# The build folder is KPS_BUILD_DIR, build/ unless set.
# Usage: bash bench/run.sh [drain_overhead|statements_per_tick|idle_cost|latency|food_court|soak ...]
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
readonly ALL_BENCHMARKS=(drain_overhead statements_per_tick idle_cost latency food_court)
export KPS_BUILD_DIR=${KPS_BUILD_DIR:-$PWD/build}

build_program() {
    scripts/install-deps.sh
    if [[ ! -f $KPS_BUILD_DIR/CMakeCache.txt ]]; then
        cmake -S . -B "$KPS_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    cmake --build "$KPS_BUILD_DIR" --target kitchen-print-server virtual-printer
}

run_benchmarks() {
    export KPS_PROGRAM=$KPS_BUILD_DIR/bin/kitchen-print-server KPS_SOURCE_DIR=$PWD
    export PYTHONPATH=$PWD/tests/support:$PWD/bench:$PWD/scripts/demo PYTHONDONTWRITEBYTECODE=1
    local name
    (($# > 0)) || set -- "${ALL_BENCHMARKS[@]}"
    for name in "$@"; do
        python3 "bench/$name.py"
    done
}

if [[ ${KPS_TEST_RIG:-} == 1 ]]; then
    run_benchmarks "$@"
else
    build_program
    exec scripts/with-test-network.sh bash bench/run.sh "$@"
fi
