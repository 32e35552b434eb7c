#!/usr/bin/env bash
# Debian 13 ("trixie") beside the machine's own Debian: a root made once from
# the Debian archive this machine's apt uses, cached outside the checkout, and
# entered in a private mount namespace with the checkout at the same path.
# It makes the root and runs a given command there, nothing else:
#   bash tools/debian13.sh root [windows] make the root, or install into it what
#                                       setup.sh's lists gained since (with
#                                       "windows", tools/windows.sh's too)
#   bash tools/debian13.sh run CMD...   run CMD in the root, in the checkout,
#                                       e.g. cmake --workflow --preset debian13
#   bash tools/debian13.sh shell        an interactive shell there
#   bash tools/debian13.sh windows CMD  CMD in the root with its Windows
#                                       packages (installed once) and the
#                                       cache folder, e.g. Wine 10's prefix
#   bash tools/debian13.sh fetch CMD    the same with the machine's network
#   bash tools/debian13.sh windows-qt   short for: fetch bash tools/windows.sh qt
#   bash tools/debian13.sh mirror [security]   the Debian archive this
#                                       machine's apt reads (no root needed)
# Every run sees the root through its own copy-on-write layer, thrown away at
# the end, with its own /proc, /dev, /tmp, /run, network (loopback only) and
# process numbers: its X displays, buses and screen reader are its own, and
# several runs at once leave the root as it was. The checkout and the compiler
# cache are the only places a run writes to that outlive it; the Windows
# commands write to the cache folder too (Qt for Windows, Wine prefixes), the
# root itself hidden there.
# Needs root (mounts). QI_CACHE_DIR sets the cache's parent, as in setup.sh.
# Notes: docs/debian13.md.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

QI_D13=$QI_CACHE_DIR/debian13
QI_D13_SUITE=trixie
# The root's base beyond Debian's essential packages: apt and its keys, and
# git, which whoever cloned the checkout has. Everything else comes from
# setup.sh's lists, installed by setup.sh itself inside the root.
QI_D13_BASE=(apt debian-archive-keyring ca-certificates git)

qi_d13_need_root() {
    [ "$(id -u)" -eq 0 ] && return 0
    echo "tools/debian13.sh needs root: it mounts the root's file systems." >&2
    exit 1
}

# The Debian archive this machine's apt already reads for its own suite
# (KIND "main"), or the security archive beside it ("security"), as apt
# itself lists them.
qi_d13_mirror() {
    local suite
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ "$1" = security ] && suite=$suite-security
    apt-get indextargets --format '$(SITE)' "Release: $suite" 'Created-By: Packages' | head -n 1
}

# qi_d13_enter MODE CMD...: CMD inside the root. MODE "run": through a
# private copy-on-write layer, without network. MODE "build": on the root
# itself, with the machine's network, to install packages. MODE "fetch": as
# "run", with the machine's network. QI_D13_CACHE=1 adds the cache folder.
qi_d13_enter() {
    local mode=$1; shift
    local spaces=(--mount --pid --fork --kill-child --propagation private)
    [ "$mode" = run ] && spaces+=(--net --ipc --uts)
    [ "$mode" = fetch ] && spaces+=(--ipc --uts)
    local top
    top=$(mktemp -d "${TMPDIR:-/tmp}/qi-debian13.XXXXXX")
    local status=0
    QI_ROOT=$QI_ROOT QI_D13=$QI_D13 QI_CACHE_DIR=$QI_CACHE_DIR \
        unshare "${spaces[@]}" bash -c "set -euo pipefail; $(declare -f qi_d13_inside); qi_d13_inside \"\$@\"" \
        qi "$mode" "$top" "$@" || status=$?
    rmdir "$top" 2>/dev/null || true
    return $status
}

# Inside the new namespaces, as process 1: mount the root's file systems,
# then run the command chrooted and wait for it, reaping whatever is left
# to this process.
qi_d13_inside() {
    local mode=$1 top=$2; shift 2
    local root=$QI_D13
    mount -t tmpfs -o mode=755 qi-debian13 "$top"
    if [ "$mode" != build ]; then
        mkdir "$top/upper" "$top/work" "$top/root"
        mount -t overlay overlay -o "lowerdir=$QI_D13,upperdir=$top/upper,workdir=$top/work" "$top/root"
        root=$top/root
        [ "$mode" = run ] && ip link set lo up
        hostname debian13
    else
        mount --bind "$QI_D13" "$QI_D13"
    fi
    if [ "$mode" != run ]; then
        touch "$root/etc/resolv.conf"
        mount --bind /etc/resolv.conf "$root/etc/resolv.conf"
    fi
    mount -t proc proc "$root/proc"
    mount -t sysfs -o ro,nosuid,nodev,noexec sysfs "$root/sys" 2>/dev/null \
        || mount --rbind -o ro /sys "$root/sys"
    mount -t tmpfs -o mode=755,nosuid dev "$root/dev"
    local node
    for node in null zero full random urandom tty; do
        touch "$root/dev/$node"
        mount --bind "/dev/$node" "$root/dev/$node"
    done
    mkdir "$root/dev/pts" "$root/dev/shm"
    mount -t devpts -o newinstance,ptmxmode=0666,mode=620 devpts "$root/dev/pts"
    ln -s pts/ptmx "$root/dev/ptmx"
    ln -s /proc/self/fd "$root/dev/fd"
    ln -s /proc/self/fd/0 "$root/dev/stdin"
    ln -s /proc/self/fd/1 "$root/dev/stdout"
    ln -s /proc/self/fd/2 "$root/dev/stderr"
    mount -t tmpfs -o mode=1777,nosuid,nodev shm "$root/dev/shm"
    mount -t tmpfs -o mode=1777 tmp "$root/tmp"
    mount -t tmpfs -o mode=755 run "$root/run"
    # The checkout at its own path (a worktree's repository too), and the
    # compiler cache.
    mkdir -p "$root$QI_ROOT"
    mount --bind "$QI_ROOT" "$root$QI_ROOT"
    local common
    common=$(git -C "$QI_ROOT" rev-parse --path-format=absolute --git-common-dir 2>/dev/null || true)
    if [ -n "$common" ] && [ -d "$common" ] && [[ "$common" != "$QI_ROOT"/* ]]; then
        mkdir -p "$root$common"
        mount --bind "$common" "$root$common"
    fi
    mkdir -p "$CCACHE_DIR" "$root$CCACHE_DIR"
    mount --bind "$CCACHE_DIR" "$root$CCACHE_DIR"
    # The cache folder, with the root itself (and its lock) out of reach.
    if [ "${QI_D13_CACHE:-0}" = 1 ]; then
        mkdir -p "$root$QI_CACHE_DIR"
        mount --bind "$QI_CACHE_DIR" "$root$QI_CACHE_DIR"
        mount -t tmpfs -o ro,mode=755 hidden "$root$QI_D13"
    fi

    # What the caller's session had that belongs to this machine stays out.
    local env=(env -u DISPLAY -u WAYLAND_DISPLAY -u XAUTHORITY -u DBUS_SESSION_BUS_ADDRESS
               -u XDG_RUNTIME_DIR -u TMPDIR -u AT_SPI_BUS_ADDRESS
               HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
               CCACHE_DIR="$CCACHE_DIR" QI_CACHE_DIR="$QI_CACHE_DIR")
    # In the background of this shell, stdin stays the caller's only when named.
    "${env[@]}" chroot "$root" /bin/bash -c 'cd "$1" && shift && exec "$@"' qi "$QI_ROOT" "$@" 0<&0 &
    local child=$! status=0
    trap 'kill -TERM $child 2>/dev/null' TERM INT HUP
    wait $child || status=$?
    # A trapped signal ends the wait early: wait for the command itself.
    while kill -0 $child 2>/dev/null; do wait $child || status=$?; done
    return $status
}

# Make the root's base: Debian's essential packages and QI_D13_BASE. Its
# dpkg leaves out what nothing here reads, in whatever is installed later
# too: documentation (not the copyright files), manual pages and message
# catalogues (233 MB of the root with them, 2026-12-10).
qi_d13_make() {
    local started=$SECONDS mirror security
    mirror=$(qi_d13_mirror main)
    security=$(qi_d13_mirror security)
    if [ -z "$mirror" ]; then
        mirror=http://deb.debian.org/debian
        echo "warning: no Debian archive found in /etc/apt's sources; using $mirror" >&2
    fi
    [ -n "$security" ] || echo "warning: no security archive found in /etc/apt's sources; the root goes without" >&2
    echo "== Making a Debian 13 root in $QI_D13 from $mirror (once) =="
    local signed='[signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]'
    local sources=("deb $signed $mirror $QI_D13_SUITE main" "deb $signed $mirror $QI_D13_SUITE-updates main")
    [ -n "$security" ] && sources+=("deb $signed $security $QI_D13_SUITE-security main")
    # A half-made root from an interrupted run is started again; the
    # private mount namespace leaves no mount behind that this could
    # reach into.
    rm -rf --one-file-system "$QI_D13.new"
    unshare --mount --propagation private \
        mmdebstrap --quiet --variant=essential --include="$(IFS=,; echo "${QI_D13_BASE[*]}")" \
            --aptopt='APT::Install-Recommends "false"' \
            --dpkgopt='path-exclude=/usr/share/doc/*' --dpkgopt='path-include=/usr/share/doc/*/copyright' \
            --dpkgopt='path-exclude=/usr/share/man/*' --dpkgopt='path-exclude=/usr/share/info/*' \
            --dpkgopt='path-exclude=/usr/share/locale/*' --dpkgopt='path-include=/usr/share/locale/locale.alias' \
            --customize-hook='printf "#!/bin/sh\nexit 101\n" >"$1/usr/sbin/policy-rc.d"; chmod 755 "$1/usr/sbin/policy-rc.d"' \
            "$QI_D13_SUITE" "$QI_D13.new" "${sources[@]}"
    echo "Debian 13 base made in $((SECONDS - started)) s"
    rm -rf --one-file-system "$QI_D13"
    mv "$QI_D13.new" "$QI_D13"
}

# qi_d13_install STAMP PACKAGE...: make the root if it is not there, and
# install the PACKAGEs into it unless the file STAMP in it holds their
# fingerprint (.complete: setup.sh's lists, with the suite and the base;
# .windows: tools/windows.sh's, added to a root made before, not remade).
# Setup.sh itself, inside the root, installs them. Makers hold a lock, so
# that two first runs at once make one root.
qi_d13_install() {
    local stamp=$QI_D13/$1 key=("${@:2}") want
    shift
    [ "$stamp" = "$QI_D13/.complete" ] && key=("$QI_D13_SUITE" "${QI_D13_BASE[@]}" "$@")
    want=$(printf '%s\n' "${key[@]}" | sha256sum | cut -c1-16)
    [ "$(cat "$stamp" 2>/dev/null)" = "$want" ] && return 0
    mkdir -p "$QI_CACHE_DIR"
    exec {lock}>"$QI_CACHE_DIR/debian13.lock"
    flock "$lock"
    if [ "$(cat "$stamp" 2>/dev/null)" != "$want" ]; then
        local started=$SECONDS
        [ -f "$QI_D13/.complete" ] || qi_d13_make
        echo "== Installing into the Debian 13 root: $* =="
        qi_d13_enter build bash -c 'source tools/setup.sh && qi_install_missing "$@"' qi "$@" \
            || { echo "Could not install the packages into $QI_D13" >&2; exit 1; }
        qi_d13_enter build apt-get clean
        echo "$want" >"$stamp.new"
        mv "$stamp.new" "$stamp"
        echo "Installed in $((SECONDS - started)) s; the root: $(du -sh "$QI_D13" | cut -f1)"
    fi
    exec {lock}>&-
}
qi_d13_root() { qi_d13_install .complete "${QI_RUN_PACKAGES[@]}" "${QI_TEST_PACKAGES[@]}"; }
qi_d13_windows() { qi_d13_install .windows $(bash "$QI_ROOT/tools/windows.sh" packages); }

# The copies of Wine's DLLs in a new Wine prefix of the cache become links to
# the root's own files, as setup.sh's qi_wine_prefix does where it runs
# natively (0.7 GB). Done out here: inside the root the cache is another
# mount, across which no file links.
qi_d13_link_prefixes() {
    local prefix
    for prefix in "$QI_CACHE_DIR"/wineprefix-wine*; do
        [ -f "$prefix/.complete" ] && [ ! -f "$prefix/.linked" ] || continue
        if hardlink -q -t "$prefix/drive_c/windows" "$QI_D13/usr/lib/x86_64-linux-gnu/wine" >/dev/null; then
            touch "$prefix/.linked"
        else
            echo "warning: the Wine prefix $prefix keeps its own copies of Wine's DLLs (hardlink failed)" >&2
        fi
    done
}

# What this script itself uses on the machine beyond util-linux.
case "${1:-}" in root|run|shell|windows|fetch|windows-qt) qi_d13_need_root; qi_install_missing mmdebstrap iproute2 ;; esac
case "${1:-}" in
    root)  qi_d13_root; [ "${2:-}" != windows ] || qi_d13_windows ;;
    run)   shift; [ $# -gt 0 ] || { echo "usage: $0 run CMD..." >&2; exit 2; }
           qi_d13_root; qi_d13_enter run "$@" ;;
    shell) qi_d13_root; qi_d13_enter run bash -i ;;
    windows-qt) set -- fetch bash tools/windows.sh qt ;&
    windows|fetch) mode=run; [ "$1" = fetch ] && mode=fetch
           shift; [ $# -gt 0 ] || { echo "usage: $0 windows|fetch CMD..." >&2; exit 2; }
           qi_d13_root; qi_d13_windows; status=0
           QI_D13_CACHE=1 qi_d13_enter $mode "$@" || status=$?
           qi_d13_link_prefixes; exit $status ;;
    mirror) qi_d13_mirror "${2:-main}" ;;   # the archive apt reads here (tools/windows.sh)
    *)     sed -n '2,/^$/ s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
esac
