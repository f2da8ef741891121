#!/usr/bin/env bash
# Builds the Debian package into build-package/: kitchen-print-server_<version>_amd64.deb, then
# checks it with lintian (errors fail). Prints the package's path last.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh package >&2
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >&2
cmake --build build-package >&2
(cd build-package && cpack -G DEB >&2)
package=$(ls build-package/kitchen-print-server_*_amd64.deb)
lintian --fail-on error --tag-display-limit 0 "$package" >&2
echo "$PWD/$package"
