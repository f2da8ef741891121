#!/usr/bin/env bash
# Makes Qt 6.4.2 for Windows x64 (mingw-w64) ready in the cache folder and prints its path.
#
# With KPS_WINDOWS_QT_ARCHIVE naming a ready archive of that build (a .tar.xz holding the folder
# qt-6.4.2-mingw-w64-x86_64/), the archive is unpacked; a .sha256 beside it is checked first.
# Otherwise Qt is built once from Debian's own qt6-base source, the version of the installed
# host tools: about 1,100 compile steps, 40-70 minutes on 2 cores. An interrupted build resumes
# where it stopped when the script is run again.
#
# The cache folder is KPS_CACHE_DIR, else $XDG_CACHE_HOME/kitchen-print-server, else
# ~/.cache/kitchen-print-server: outside the checkout, so that clean clones share it.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache=${KPS_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/kitchen-print-server}
readonly name=qt-6.4.2-mingw-w64-x86_64
readonly qt=$cache/$name
readonly source_version=6.4.2+dfsg-10

log() { echo "windows-qt: $*" >&2; }

is_ready() { [[ -f $qt/lib/cmake/Qt6/Qt6Config.cmake && -f $qt/.complete ]]; }

unpack_archive() {
    local archive=$1
    if [[ -f $archive.sha256 ]]; then
        log "checking $archive"
        (cd "$(dirname "$archive")" && sha256sum --quiet -c "$(basename "$archive").sha256") >&2
    fi
    log "unpacking $archive into $cache"
    rm -rf "$qt"
    tar -C "$cache" -xJf "$archive"
    touch "$qt/.complete"
}

# Debian's source lines for the mirror apt already uses for binaries.
add_source_lines() {
    local list=/etc/apt/sources.list.d/kitchen-print-server-src.sources
    if [[ ! -f $list ]]; then
        sed -n '/^Types: deb$/,/^$/p' /etc/apt/sources.list.d/debian.sources |
            sed 's/^Types: deb$/Types: deb-src/' >"$list"
        apt-get update >&2
    fi
}

# Debian's source lacks the tablet and sqlite third-party folders, hence those two switches.
configure_qt() {
    "../qt6-base-6.4.2+dfsg/configure" -prefix "$qt" -xplatform win32-g++ -qt-host-path /usr \
        -release -shared -nomake examples -nomake tests -sql-odbc -no-sql-sqlite -no-sql-psql \
        -no-sql-mysql -no-sql-db2 -no-sql-ibase -no-sql-oci -qt-zlib -qt-pcre -qt-libpng \
        -qt-libjpeg -qt-freetype -qt-harfbuzz -no-dbus -no-icu -no-openssl \
        -no-feature-tabletevent -no-feature-vulkan -no-zstd -- -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_FIND_ROOT_PATH="$qt" -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >&2
}

build_from_source() {
    local work=$cache/qt-build
    log "building Qt for Windows from source in $work (40-70 minutes, resumable)"
    add_source_lines
    mkdir -p "$work/build"
    cd "$work"
    [[ -d qt6-base-6.4.2+dfsg ]] || apt-get source "qt6-base=$source_version" >&2
    cd build
    [[ -f build.ninja ]] || configure_qt
    nice ninja -j"$(nproc)" >&2
    ninja install >&2
    rm -rf "$qt/doc"
    find "$qt" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
    touch "$qt/.complete"
}

main() {
    mkdir -p "$cache"
    if ! is_ready; then
        if [[ -n ${KPS_WINDOWS_QT_ARCHIVE:-} ]]; then
            unpack_archive "$KPS_WINDOWS_QT_ARCHIVE"
        else
            build_from_source
        fi
    fi
    echo "$qt"
}

main "$@"
