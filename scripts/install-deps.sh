#!/usr/bin/env bash
# Installs the Debian packages needed to build and test the print server; with the argument
# "windows", those of the Windows cross build, its tests under wine and its installer instead;
# with "package", those of the Debian package, its checks and its test.
# Cheap when everything is present: apt is only called for missing packages.
set -euo pipefail

LINUX_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-odbc
    unixodbc unixodbc-dev odbc-postgresql tdsodbc postgresql
    socat xvfb xauth xdotool trayer x11-utils imagemagick fonts-nanum chromium
    iproute2 libgtest-dev googletest python3 clang-format
    clang libclang-rt-14-dev
)
PACKAGE_PACKAGES=(
    "${LINUX_PACKAGES[@]}" dpkg-dev lintian file libcap2-bin
)
WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev cmake ninja-build
    qt6-base-dev qt6-base-dev-tools googletest wine wine64 nsis xz-utils librsvg2-bin icoutils
    socat iproute2 postgresql odbc-postgresql unixodbc python3
)

# Prints the packages from PACKAGES that dpkg does not report as installed.
missing_packages() {
    local pkg
    for pkg in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null | grep -qx installed; then
            echo "$pkg"
        fi
    done
}

apt_install() {
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$@"
}

main() {
    if [[ ${1:-} == windows ]]; then
        PACKAGES=("${WINDOWS_PACKAGES[@]}")
    elif [[ ${1:-} == package ]]; then
        PACKAGES=("${PACKAGE_PACKAGES[@]}")
    else
        PACKAGES=("${LINUX_PACKAGES[@]}")
    fi
    local missing
    mapfile -t missing < <(missing_packages)
    if ((${#missing[@]} == 0)); then
        return 0
    fi
    if [[ $EUID -ne 0 ]]; then
        echo "install-deps: missing packages need root: ${missing[*]}" >&2
        exit 1
    fi
    echo "install-deps: installing ${missing[*]}"
    # A fresh machine may have stale or empty package lists; refresh only then.
    if ! apt_install "${missing[@]}"; then
        apt-get update
        apt_install "${missing[@]}"
    fi
}

main "$@"
