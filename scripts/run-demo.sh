#!/usr/bin/env bash
# Runs the kitchen print server on a complete local demo store: a throwaway database with a
# sample store, a serial kitchen printer and two network printers (one unreachable), all
# virtual, and an order-taking simulator filing jobs. Everything stays inside a private
# network namespace. Receipts appear as text here and as PNG files in demo-output/receipts.
#   scripts/run-demo.sh            runs until Ctrl-C
#   scripts/run-demo.sh 60         stops by itself after 60 seconds
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target kitchen-print-server virtual-printer
exec scripts/with-test-network.sh python3 scripts/demo/demo_store.py "$@"
