#!/usr/bin/env bash
# Builds the Windows x64 program, its tests and its installer into build-windows/ with mingw-w64
# (the installer: build-windows/kitchen-print-server-<version>-setup.exe). Qt for Windows comes
# from scripts/windows-qt.sh: unpacked from KPS_WINDOWS_QT_ARCHIVE when that names a ready
# archive, else built once from source (about an hour). The tests run under wine. Extra arguments
# go to cmake's configure.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh windows
qt=$(scripts/windows-qt.sh)
cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_FIND_ROOT_PATH="$qt" -DQT_HOST_PATH=/usr \
    -DCMAKE_CROSSCOMPILING_EMULATOR=wine "$@"
cmake --build build-windows
cmake --build build-windows --target installer
