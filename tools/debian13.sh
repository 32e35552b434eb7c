#!/usr/bin/env bash
# Debian 13 ("trixie") beside the machine's own Debian: a root made once from
# the Debian archive this machine's apt uses, cached outside the checkout, and
# entered in a private mount namespace with the checkout at the same path.
#   bash tools/debian13.sh root         make the root, or install into it what
#                                       setup.sh's lists gained since
#   bash tools/debian13.sh run CMD...   run CMD in the root, in the checkout
#   bash tools/debian13.sh shell        an interactive shell there
#   bash tools/debian13.sh test         the Linux suite there, built into
#                                       build-debian13/
#   bash tools/debian13.sh windows CMD  CMD in the root with its Windows
#                                       packages (installed once) and the
#                                       cache folder, e.g. Wine 10's prefix
#   bash tools/debian13.sh windows-qt   Qt for Windows from the root's Qt
#                                       source, into the cache (once; network)
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

# The packages the root must hold, as one fingerprint: when setup.sh's lists
# change, the next use installs what they gained.
qi_d13_fingerprint() {
    printf '%s\n' "$QI_D13_SUITE" "${QI_D13_BASE[@]}" "${QI_RUN_PACKAGES[@]}" "${QI_TEST_PACKAGES[@]}" \
        | sha256sum | cut -c1-16
}

# The Debian archive this machine's apt already reads (its main suite, in
# one-line or deb822 sources), and the security archive beside it.
qi_d13_mirror() {
    local codename kind=${1:-main}
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    local suite=$codename
    [ "$kind" = security ] && suite=$codename-security
    local files=() f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && files+=("$f")
    done
    [ ${#files[@]} -gt 0 ] || return 0
    awk -v suite="$suite" '
        function check(   n, i, s, u) {
            if (types ~ /(^|[ \t])deb([ \t]|$)/) {
                n = split(suites, s, /[ \t]+/)
                for (i = 1; i <= n; i++) if (s[i] == suite) { split(uris, u, /[ \t]+/); print u[1]; done = 1; exit }
            }
            types = uris = suites = ""
        }
        FNR == 1 { check() }
        FILENAME ~ /\.sources$/ {
            if ($0 ~ /^[ \t]*$/) check()
            else if (sub(/^Types:[ \t]*/, ""))  types = $0
            else if (sub(/^URIs:[ \t]*/, ""))   uris = $0
            else if (sub(/^Suites:[ \t]*/, "")) suites = $0
            next
        }
        { line = $0; gsub(/\[[^]]*\]/, "", line); split(line, f, /[ \t]+/) }
        f[1] == "deb" && f[3] == suite { print f[2]; done = 1; exit }
        END { if (!done) check() }' "${files[@]}"
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
    unshare "${spaces[@]}" bash "$QI_ROOT/tools/debian13.sh" _enter "$mode" "$top" "$@" || status=$?
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
               -u XDG_RUNTIME_DIR -u TMPDIR -u QI_ASAN_BUILD_DIR -u AT_SPI_BUS_ADDRESS
               HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
               CCACHE_DIR="$CCACHE_DIR" QI_CACHE_DIR="$QI_CACHE_DIR"
               QI_BUILD_DIR="${QI_DEBIAN13_BUILD_DIR:-$QI_ROOT/build-debian13}")
    # In the background of this shell, stdin stays the caller's only when named.
    "${env[@]}" chroot "$root" /bin/bash -c 'cd "$1" && shift && exec "$@"' qi "$QI_ROOT" "$@" 0<&0 &
    local child=$! status=0
    trap 'kill -TERM $child 2>/dev/null' TERM INT HUP
    wait $child || status=$?
    # A trapped signal ends the wait early: wait for the command itself.
    while kill -0 $child 2>/dev/null; do wait $child || status=$?; done
    return $status
}

# Make the root (once), or bring its packages up to date.
qi_d13_root() {
    qi_d13_need_root
    local want
    want=$(qi_d13_fingerprint)
    [ "$(cat "$QI_D13/.complete" 2>/dev/null)" = "$want" ] && return 0
    mkdir -p "$QI_CACHE_DIR"
    exec {lock}>"$QI_CACHE_DIR/debian13.lock"
    flock "$lock"
    if [ "$(cat "$QI_D13/.complete" 2>/dev/null)" = "$want" ]; then
        exec {lock}>&-; return 0
    fi
    local started=$SECONDS
    if [ ! -f "$QI_D13/.complete" ]; then
        local mirror security
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
                --customize-hook='printf "#!/bin/sh\nexit 101\n" >"$1/usr/sbin/policy-rc.d"; chmod 755 "$1/usr/sbin/policy-rc.d"' \
                "$QI_D13_SUITE" "$QI_D13.new" "${sources[@]}"
        echo "Debian 13 base made in $((SECONDS - started)) s"
        rm -rf --one-file-system "$QI_D13"
        mv "$QI_D13.new" "$QI_D13"
    fi
    echo "== Installing setup.sh's packages into the Debian 13 root =="
    # setup.sh itself, inside the root, installs from its own lists.
    qi_d13_enter build bash -c 'source tools/setup.sh && qi_install_missing "${QI_RUN_PACKAGES[@]}" "${QI_TEST_PACKAGES[@]}"' \
        || { echo "Could not install the packages into $QI_D13" >&2; exit 1; }
    qi_d13_enter build apt-get clean
    echo "$want" >"$QI_D13/.complete.new"
    mv "$QI_D13/.complete.new" "$QI_D13/.complete"
    echo "Debian 13 root ready in $((SECONDS - started)) s ($(du -sh "$QI_D13" | cut -f1))"
    exec {lock}>&-
}

# The Windows packages tools/windows.sh lists, installed into the root once,
# beside setup.sh's (whose fingerprint they leave alone: a root made before
# gets them added, not remade).
qi_d13_windows() {
    local want
    want=$(bash "$QI_ROOT/tools/windows.sh" packages | sha256sum | cut -c1-16)
    [ "$(cat "$QI_D13/.windows" 2>/dev/null)" = "$want" ] && return 0
    exec {lock}>"$QI_CACHE_DIR/debian13.lock"
    flock "$lock"
    if [ "$(cat "$QI_D13/.windows" 2>/dev/null)" != "$want" ]; then
        local started=$SECONDS
        echo "== Installing tools/windows.sh's packages into the Debian 13 root =="
        qi_d13_enter build bash -c 'source tools/setup.sh && qi_install_missing $(bash tools/windows.sh packages)' \
            || { echo "Could not install the Windows packages into $QI_D13" >&2; exit 1; }
        qi_d13_enter build apt-get clean
        echo "$want" >"$QI_D13/.windows"
        echo "Windows packages installed in $((SECONDS - started)) s ($(du -sh "$QI_D13" | cut -f1))"
    fi
    exec {lock}>&-
}

qi_compiler_cache
CCACHE_DIR=${CCACHE_DIR:-$QI_CACHE_DIR/ccache}
# What this script itself uses on the machine beyond util-linux.
case "${1:-}" in root|run|shell|test|windows|windows-qt) qi_d13_need_root; qi_install_missing mmdebstrap iproute2 ;; esac
case "${1:-}" in
    root)  qi_d13_root ;;
    run)   shift; [ $# -gt 0 ] || { echo "usage: $0 run CMD..." >&2; exit 2; }
           qi_d13_root; qi_d13_enter run "$@" ;;
    shell) qi_d13_root; qi_d13_enter run bash -i ;;
    test)  qi_d13_root
           qi_d13_enter run env QI_NO_WINDOWS=1 QI_NO_REPRODUCIBLE=1 QI_NO_SANITIZE=1 bash tools/test.sh ;;
    windows) shift; [ $# -gt 0 ] || { echo "usage: $0 windows CMD..." >&2; exit 2; }
           qi_d13_root; qi_d13_windows; QI_D13_CACHE=1 qi_d13_enter run "$@" ;;
    windows-qt) qi_d13_root; qi_d13_windows
           QI_D13_CACHE=1 qi_d13_enter fetch bash tools/windows.sh qt ;;
    mirror) qi_d13_mirror "${2:-main}" ;;   # the archive apt reads here (tools/windows.sh)
    _enter) shift; qi_d13_inside "$@" ;;
    *)     sed -n '2,/^$/ s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
esac
