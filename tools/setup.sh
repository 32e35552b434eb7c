#!/usr/bin/env bash
# Shared by the scripts: the Debian packages that building and testing need,
# installed when missing, and the cache folder. Sourced, not run. The builds
# themselves are CMake presets (CMakePresets.json).
set -euo pipefail

QI_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What building and running needs, and what only the tests need on top (the
# presets want ccache too: run.sh adds it).
QI_RUN_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libxcb1-dev extra-cmake-modules
                 fonts-dejavu-core fonts-dejavu-extra xvfb xauth x11-utils xdotool imagemagick)
QI_TEST_PACKAGES=(openbox libgtest-dev libbenchmark-dev binutils-mingw-w64-x86-64
                  desktop-file-utils appstream strace dpkg-dev file
                  at-spi2-core python3-pyatspi dbus dbus-x11 libxcb-damage0-dev fonts-noto-cjk lintian
                  tesseract-ocr tesseract-ocr-eng ccache orca speech-dispatcher)

# Root keeps its caches where every checkout and CI share them; users keep
# their own. QI_CACHE_DIR overrides.
if [ -z "${QI_CACHE_DIR:-}" ]; then
    if [ "$(id -u)" -eq 0 ]; then QI_CACHE_DIR=/var/cache/quorvath-itemlist
    else QI_CACHE_DIR=${XDG_CACHE_HOME:-$HOME/.cache}/quorvath-itemlist; fi
fi
# Compiled objects are kept between builds and checkouts (the presets start
# the compiler through ccache, keyed by paths relative to the checkout), so
# that a fresh clone compiles only what changed.
export CCACHE_DIR=${CCACHE_DIR:-$QI_CACHE_DIR/ccache} CCACHE_BASEDIR=$QI_ROOT CCACHE_NOHASHDIR=true
# The same for builds made without a preset (tools/windows.sh's).
qi_compiler_cache() { QI_COMPILER_CACHE=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache); }

# The system this runs on, as "debian 12".
qi_release() { (. /etc/os-release && echo "$ID ${VERSION_ID:-}"); }

# qi_windows_toolchain CMD...: CMD where the Windows build's toolchain is,
# Debian 13's: on Debian 12 in the Debian 13 root (tools/debian13.sh), which
# sees the checkout at the same path; elsewhere here.
qi_windows_toolchain() {
    if [ "$(qi_release)" = "debian 12" ]; then bash "$QI_ROOT/tools/debian13.sh" windows "$@"; else "$@"; fi
}

# qi_wine_prefix [PREFIX]: Wine's environment for a 64-bit prefix of our own
# at PREFIX (by default the cache's for this Wine release), made once. No
# Mono or Gecko: the program needs neither, and their installers would ask
# for a download.
qi_wine_prefix() {
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
    export WINEPREFIX=${1:-$QI_CACHE_DIR/wineprefix-wine$(wine --version | sed 's/^wine-\([0-9]*\).*/\1/')}
    [ -f "$WINEPREFIX/.complete" ] && return 0
    local started=$SECONDS
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot --init >/dev/null 2>&1 || true
    wineserver --wait || true
    [ -f "$WINEPREFIX/system.reg" ] || { echo "Could not make a Wine prefix in $WINEPREFIX" >&2; exit 1; }
    # Wine copies its DLLs into a new prefix, 0.7 GB: the copies become
    # links to Wine's own files. No test writes the prefix (each runs in a
    # view of it), and an update of Wine replaces its files with new ones,
    # which leaves the prefix's alone. In the Debian 13 root the prefix is
    # on another mount, where this links nothing: tools/debian13.sh links it
    # from outside.
    hardlink -q -t "$WINEPREFIX/drive_c/windows" /usr/lib/x86_64-linux-gnu/wine >/dev/null 2>&1 \
        || echo "warning: the Wine prefix keeps its own copies of Wine's DLLs (hardlink failed)" >&2
    touch "$WINEPREFIX/.complete"
    echo "$(wine --version) prefix made in $WINEPREFIX in $((SECONDS - started)) s"
}

# qi_install_missing PACKAGE...: apt-get satisfy with what is not installed
# yet; nothing (not even apt-get update) when all is there.
qi_install_missing() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get satisfy -y -qq --no-install-recommends \
        "$(IFS=,; echo "${missing[*]}")" >/dev/null
}

# qi_configure_and_build DIR [CMAKE ARGS...]: the development preset built
# into DIR.
qi_configure_and_build() {
    local dir=$1; shift
    cmake --preset dev -B "$dir" "$@" >/dev/null
    cmake --build "$dir"
}
