#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: install what is missing from Debian's
# packages, then configure and build. Sourced, not run.
#   qi_setup run|test    -> sets QI_ROOT and QI_BUILD
set -euo pipefail

QI_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QI_BUILD=${QI_BUILD_DIR:-$QI_ROOT/build}

# What building and running needs, and what only the tests need on top.
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

# Compiled objects are kept between builds and checkouts where ccache is
# installed (the tests install it): keyed by paths relative to the
# checkout, so that a fresh clone compiles only what changed.
qi_compiler_cache() {
    QI_COMPILER_CACHE=()
    command -v ccache >/dev/null || return 0
    export CCACHE_DIR=${CCACHE_DIR:-$QI_CACHE_DIR/ccache} CCACHE_BASEDIR=$QI_ROOT CCACHE_NOHASHDIR=true
    QI_COMPILER_CACHE=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
}

# The system this runs on, as "debian 12".
qi_release() { (. /etc/os-release && echo "$ID ${VERSION_ID:-}"); }

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
    touch "$WINEPREFIX/.complete"
    echo "$(wine --version) prefix made in $WINEPREFIX in $((SECONDS - started)) s"
}

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
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

qi_configure() {
    local dir=$1; shift
    cmake -S "$QI_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${QI_COMPILER_CACHE[@]}" "$@" >/dev/null
}

qi_configure_and_build() {
    qi_configure "$@"
    cmake --build "$1" -j "$(nproc)"
}

qi_setup() {
    if [ "$1" = test ]; then
        qi_install_missing "${QI_RUN_PACKAGES[@]}" "${QI_TEST_PACKAGES[@]}"
    else
        qi_install_missing "${QI_RUN_PACKAGES[@]}"
    fi
    qi_compiler_cache
    qi_configure_and_build "$QI_BUILD"
}
