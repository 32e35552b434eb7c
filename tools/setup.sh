#!/usr/bin/env bash
# Shared by the scripts, sourced: the Debian packages that building and testing need,
# installed when missing, the cache folder, Wine's prefix. The builds are CMake presets.
set -euo pipefail

QI_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What building and running needs, and what only the tests need on top (the presets want
# ccache too: run.sh adds it).
QI_RUN_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libxcb1-dev extra-cmake-modules
                 fonts-dejavu-core fonts-dejavu-extra xvfb xauth x11-utils xdotool imagemagick)
QI_TEST_PACKAGES=(openbox libgtest-dev libbenchmark-dev binutils-mingw-w64-x86-64
                  desktop-file-utils appstream strace dpkg-dev file
                  at-spi2-core python3-pyatspi dbus dbus-x11 libxcb-damage0-dev fonts-noto-cjk lintian
                  tesseract-ocr tesseract-ocr-eng ccache orca speech-dispatcher)

# Root keeps its caches where every checkout and CI share them; users keep their own.
if [ -z "${QI_CACHE_DIR:-}" ]; then
    if [ "$(id -u)" -eq 0 ]; then QI_CACHE_DIR=/var/cache/quorvath-itemlist
    else QI_CACHE_DIR=${XDG_CACHE_HOME:-$HOME/.cache}/quorvath-itemlist; fi
fi
# Compiled objects are kept between builds and checkouts, keyed by paths relative to the
# checkout, so that a fresh clone compiles only what changed; beyond 1 GB the least used
# go (a whole run needs far less: docs/measurements.md#disk).
export CCACHE_DIR=${CCACHE_DIR:-$QI_CACHE_DIR/ccache} CCACHE_BASEDIR=$QI_ROOT CCACHE_NOHASHDIR=true
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-1G}
QI_SUDO=()
[ "$(id -u)" -eq 0 ] || QI_SUDO=(sudo)

# The system this runs on, as "debian 12".
qi_release() { (. /etc/os-release && echo "$ID ${VERSION_ID:-}"); }

# qi_windows_toolchain CMD...: CMD where the Windows build's toolchain is, Debian 13's: on
# Debian 12 in the Debian 13 root (tools/debian13.sh), which sees the checkout at its path.
qi_windows_toolchain() {
    if [ "$(qi_release)" = "debian 12" ]; then bash "$QI_ROOT/tools/debian13.sh" windows "$@"; else "$@"; fi
}

# QI_ARCHIVE and QI_SECURITY: the Debian archive and security archive this machine's apt
# reads for its own suite, as apt lists them.
qi_archives() {
    local suite
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    QI_ARCHIVE=$(apt-get indextargets --format '$(SITE)' "Release: $suite" 'Created-By: Packages' | head -n 1)
    QI_SECURITY=$(apt-get indextargets --format '$(SITE)' "Release: $suite-security" 'Created-By: Packages' \
                  | head -n 1)
    if [ -z "$QI_ARCHIVE" ]; then
        QI_ARCHIVE=http://deb.debian.org/debian
        echo "warning: no Debian archive found in /etc/apt's sources; using $QI_ARCHIVE" >&2
    fi
    [ -n "$QI_SECURITY" ] || echo "warning: no security archive found in /etc/apt's sources; going without" >&2
}

# qi_wine_prefix [PREFIX]: Wine's environment for a 64-bit prefix at PREFIX (by default the
# cache's for this Wine release), made once, without Mono or Gecko (neither is needed, and
# their installers would ask for a download). It gets the fonts every Windows has, which
# Wine leaves out (Tahoma, MS Sans Serif: each test's view keeps or drops it), and ClearType
# as Windows ships it (Wine's default is greyscale).
qi_wine_prefix() {
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
    export WINEPREFIX=${1:-$QI_CACHE_DIR/wineprefix-wine$(wine --version | sed 's/^wine-\([0-9]*\).*/\1/')}
    [ -f "$WINEPREFIX/.complete" ] && return 0
    # One maker at a time: a second one would remove the first one's half-made prefix.
    # Whoever waited finds it made.
    local started=$SECONDS lock
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec {lock}>"$WINEPREFIX.lock"
    flock "$lock"
    [ -f "$WINEPREFIX/.complete" ] && { exec {lock}>&-; return 0; }
    rm -rf "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    wineserver --wait || true
    [ -f "$WINEPREFIX/system.reg" ] || { echo "Could not make a Wine prefix in $WINEPREFIX" >&2; exit 1; }
    cp /usr/share/wine/fonts/{tahoma.ttf,tahomabd.ttf,sserife.fon} "$WINEPREFIX/drive_c/windows/Fonts/"
    printf '%s\n' 'Windows Registry Editor Version 5.00' '' '[HKEY_CURRENT_USER\Control Panel\Desktop]' \
        '"FontSmoothing"="2"' '"FontSmoothingType"=dword:00000002' '"FontSmoothingOrientation"=dword:00000001' \
        >"$WINEPREFIX/drive_c/smoothing.reg"
    wine regedit /S 'C:\smoothing.reg' >/dev/null 2>&1 || true
    wineserver --wait || true
    # Wine copies its DLLs into a new prefix, 0.7 GB: the copies become links to Wine's own
    # files. No test writes the prefix (each runs in a view of it), and a Wine update
    # replaces its files, leaving the prefix's alone. In the Debian 13 root the prefix is on
    # another mount, across which nothing links: tools/debian13.sh links it from outside.
    hardlink -q -t "$WINEPREFIX/drive_c/windows" /usr/lib/x86_64-linux-gnu/wine >/dev/null 2>&1 \
        || echo "warning: the Wine prefix keeps its own copies of Wine's DLLs (hardlink failed)" >&2
    touch "$WINEPREFIX/.complete"
    exec {lock}>&-
    echo "$(wine --version) prefix made in $WINEPREFIX in $((SECONDS - started)) s"
}

# qi_install_missing PACKAGE...: apt-get satisfy with what is not installed yet; nothing
# (not even apt-get update) when all is there.
qi_install_missing() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    [ ${#QI_SUDO[@]} -eq 0 ] || command -v sudo >/dev/null \
        || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    echo "Installing: ${missing[*]}"
    "${QI_SUDO[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${QI_SUDO[@]}" apt-get satisfy -y -qq --no-install-recommends \
        "$(IFS=,; echo "${missing[*]}")" >/dev/null
}
