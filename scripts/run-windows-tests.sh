#!/usr/bin/env bash
# Builds the Linux and the Windows program, then runs the Windows tests under wine inside the
# private test network: the unit tests, and the installed Windows program printing against the
# rig with the bytes of the Linux program. Extra arguments go to ctest.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target kitchen-print-server virtual-printer
scripts/build-windows.sh -DKPS_LINUX_PROGRAM="$PWD/build/bin/kitchen-print-server"

# A wine prefix of our own, made once in the cache folder (seconds).
cache=${KPS_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/kitchen-print-server}
export WINEPREFIX=$cache/wine WINEDEBUG=-all WINEARCH=win64
[[ -f $WINEPREFIX/system.reg ]] || wineboot --init
# Wine's services send the ICMP echo and open the sockets on behalf of the programs: they must
# start inside the test network, so none of this prefix may still run outside it.
wineserver -w
scripts/with-test-network.sh ctest --test-dir build-windows --output-on-failure "$@"
