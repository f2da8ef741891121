#!/usr/bin/env bash
# Builds the Debian package in a build folder of its own (build-package/), with the hardening
# flags Debian builds its packages with (dpkg-buildflags, hardening=+all: fortified functions,
# stack protector, full RELRO with immediate binding; the compiler builds PIE by default):
# build-package/kitchen-print-server_<version>_amd64.deb, then checks it with lintian (any
# warning fails). Prints the package's path last.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh package >&2
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >&2
cmake --build build-package >&2
rm -f build-package/kitchen-print-server_*_amd64.deb
(cd build-package && cpack -G DEB >&2)
package=$(ls build-package/kitchen-print-server_*_amd64.deb)
lintian --fail-on warning --tag-display-limit 0 "$package" >&2
echo "$PWD/$package"
