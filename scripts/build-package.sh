#!/usr/bin/env bash
# Builds the Debian package from the build folder the tests use (build/):
# build/kitchen-print-server_<version>_amd64.deb, then checks it with lintian (errors fail).
# Prints the package's path last.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh package >&2
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
cmake --build build --target kitchen-print-server virtual-printer debian_changelog >&2
rm -f build/kitchen-print-server_*_amd64.deb
(cd build && cpack -G DEB >&2)
package=$(ls build/kitchen-print-server_*_amd64.deb)
lintian --fail-on error --tag-display-limit 0 "$package" >&2
echo "$PWD/$package"
