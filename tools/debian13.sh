#!/usr/bin/env bash
# Debian 13 ("trixie") beside the machine's own Debian (docs/debian13.md): a root made once
# into the cache from the Debian archive this machine's apt reads, and commands run in it,
# in the checkout, through bubblewrap. Needs root.
#   bash tools/debian13.sh root [windows]  make the root, or add what setup.sh's package
#                                          lists gained (with "windows", windows.sh's too)
#   bash tools/debian13.sh run CMD...      CMD there, e.g. cmake --workflow --preset debian13
#   bash tools/debian13.sh shell           an interactive shell there
#   bash tools/debian13.sh windows CMD...  CMD with the Windows packages and the cache folder
#   bash tools/debian13.sh fetch CMD...    the same with the machine's network
#   bash tools/debian13.sh windows-qt      short for: fetch bash tools/windows.sh qt
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

QI_D13=$QI_CACHE_DIR/debian13
QI_D13_SUITE=trixie
# The root's base beyond Debian's essential packages: apt and its keys, and
# git, which whoever cloned the checkout has. Everything else comes from
# setup.sh's lists, installed by setup.sh itself inside the root.
QI_D13_BASE=(apt debian-archive-keyring ca-certificates git)

# qi_d13_enter MODE CMD...: CMD in the checkout inside the root, through
# bubblewrap, with /proc, /dev, /tmp and /run of its own. MODE "run": on a
# copy-on-write layer over the root, thrown away after, without network;
# "fetch": the same with the machine's network; "build": on the root itself,
# with the network, to install packages. QI_D13_CACHE=1 adds the cache
# folder, with the root itself hidden there.
qi_d13_enter() {
    local mode=$1 top common status=0; shift
    local box=(--die-with-parent --unshare-pid --as-pid-1 --unshare-ipc --unshare-uts --hostname debian13
               --proc /proc --dev /dev --perms 1777 --tmpfs /dev/shm --ro-bind /sys /sys
               --perms 1777 --tmpfs /tmp --tmpfs /run
               --bind "$QI_ROOT" "$QI_ROOT" --bind "$CCACHE_DIR" "$CCACHE_DIR")
    if [ "$mode" = run ]; then box+=(--unshare-net); else box+=(--ro-bind /etc/resolv.conf /etc/resolv.conf); fi
    # A worktree's repository, where it lies outside the checkout.
    common=$(git -C "$QI_ROOT" rev-parse --path-format=absolute --git-common-dir 2>/dev/null || true)
    [ -d "$common" ] && [[ "$common" != "$QI_ROOT"/* ]] && box+=(--bind "$common" "$common")
    [ "${QI_D13_CACHE:-0}" = 1 ] && box+=(--bind "$QI_CACHE_DIR" "$QI_CACHE_DIR" --tmpfs "$QI_D13" --remount-ro "$QI_D13")
    mkdir -p "$CCACHE_DIR"
    top=$(mktemp -d "${TMPDIR:-/tmp}/qi-debian13.XXXXXX")
    # The layer is a tmpfs in a mount namespace of its own, gone with it.
    local layer='mount -t tmpfs -o mode=755 qi-debian13 "$0" && mkdir "$0/upper" "$0/work" "$0/root" &&
        mount -t overlay overlay -o "lowerdir=$1,upperdir=$0/upper,workdir=$0/work" "$0/root" && shift && exec "$@"'
    local base=(bwrap --bind "$QI_D13" /)
    [ "$mode" = build ] || base=(unshare --mount --propagation private sh -c "$layer" "$top" "$QI_D13" bwrap --bind "$top/root" /)
    # Process 1 waits for CMD and reaps what it leaves, so that the processor time of all of
    # it reaches the caller (bubblewrap's own first process lets it go). A background job's
    # stdin stays the caller's only when named.
    local reaper='"$@" 0<&0 & wait $!'
    # What the caller's session had that belongs to this machine stays out.
    env -u DISPLAY -u WAYLAND_DISPLAY -u XAUTHORITY -u DBUS_SESSION_BUS_ADDRESS -u XDG_RUNTIME_DIR -u TMPDIR \
        -u AT_SPI_BUS_ADDRESS HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        CCACHE_DIR="$CCACHE_DIR" QI_CACHE_DIR="$QI_CACHE_DIR" \
        "${base[@]}" "${box[@]}" --chdir "$QI_ROOT" bash -c "$reaper" qi "$@" || status=$?
    rmdir "$top" 2>/dev/null || true
    return $status
}

# Make the root's base: Debian's essential packages and QI_D13_BASE. Its
# dpkg leaves out what nothing here reads, in whatever is installed later
# too: documentation (not the copyright files), manual pages and message
# catalogues (233 MB of the root with them, 2026-12-10).
qi_d13_make() {
    local started=$SECONDS
    qi_archives
    echo "== Making a Debian 13 root in $QI_D13 from $QI_ARCHIVE (once) =="
    local signed='[signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]'
    local sources=("deb $signed $QI_ARCHIVE $QI_D13_SUITE main" "deb $signed $QI_ARCHIVE $QI_D13_SUITE-updates main")
    [ -n "$QI_SECURITY" ] && sources+=("deb $signed $QI_SECURITY $QI_D13_SUITE-security main")
    # A half-made root from an interrupted run is started again; the private mount
    # namespace leaves no mount behind that this could reach into.
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

[ "$(id -u)" -eq 0 ] || { echo "tools/debian13.sh needs root: it mounts file systems." >&2; exit 1; }
qi_install_missing mmdebstrap bubblewrap
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
    *)     sed -n '2,/^$/ s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
esac
