#!/usr/bin/env bash
# The same commit gives the same bytes: the checkout's last commit is cloned
# twice into different folders and released from each (tools/package.sh, and
# tools/windows.sh unless QI_NO_WINDOWS=1), then every artifact is compared.
# The second build differs from the first in all that a release must not
# depend on: the folder, the time of day, the user (nobody, when run as
# root), the umask, the time zone and the locale, and no compiler cache.
# Qt for Windows comes from the cache both builds share. On Debian 12 the
# Windows releases are compared in the Debian 13 root, where they are made
# (QI_NO_LINUX=1 there: only they).
#   reproducible.sh [KEEP_DIR]   KEEP_DIR keeps both clones for a closer look
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/setup.sh"
ROOT=$QI_ROOT
WINDOWS=$([ "${QI_NO_WINDOWS:-0}" = 1 ] && echo 0 || echo 1)
LINUX=$([ "${QI_NO_LINUX:-0}" = 1 ] && echo 0 || echo 1)
if [ "$WINDOWS" = 1 ] && [ "$(qi_release)" = "debian 12" ]; then
    status=0
    QI_NO_WINDOWS=1 bash "$0" "$@" || status=1
    bash "$ROOT/tools/debian13.sh" windows env QI_NO_LINUX=1 bash tests/release/reproducible.sh \
        ${1:+"$1/windows"} || status=1
    exit $status
fi
if [ -n "${1:-}" ]; then TMP=$1; mkdir -p "$TMP"; else TMP=$(mktemp -d); trap 'rm -rf "$TMP"' EXIT; fi
chmod 0755 "$TMP"
# Both builds share the caches of whoever runs the test (setup.sh's).
export QI_CACHE_DIR

# release CHECKOUT: the Linux and the Windows release of one clone.
release() {
    local checkout=$1
    : >"$checkout.log"
    if [ "$LINUX" = 1 ]; then
        QI_RELEASE_BUILD_DIR=$checkout/build bash "$checkout/tools/package.sh" >"$checkout.log" 2>&1 \
            || { tail -30 "$checkout.log"; return 1; }
    fi
    [ "$WINDOWS" = 1 ] || return 0
    QI_WINDOWS_BUILD_DIR=$checkout/build-windows bash "$checkout/tools/windows.sh" >>"$checkout.log" 2>&1 \
        || { tail -30 "$checkout.log"; return 1; }
}

# The artifacts of a clone, one path a line relative to it, the executable
# inside the .deb unpacked beside it.
artifacts() {
    local checkout=$1 deb
    if [ "$LINUX" = 1 ]; then
        deb=$(cd "$checkout" && ls build/packages/*.deb)
        rm -rf "$checkout/deb-root"
        dpkg-deb -x "$checkout/$deb" "$checkout/deb-root"
        printf '%s\n' "$deb" build/packages/SHA256SUMS deb-root/usr/bin/QuorvathItemlist
    fi
    [ "$WINDOWS" = 1 ] || return 0
    (cd "$checkout" && ls build-windows/QuorvathItemlist.exe build-windows/*-setup.exe \
                          build-windows/*-windows.zip build-windows/SHA256SUMS)
}

# Where two files differ: the number of differing bytes and the first
# offsets; for an archive, its members and which of them differ. Only tells:
# a command here that fails ends nothing.
explain() (
    set +e +o pipefail
    local a=$1 b=$2
    echo "  $(cmp -l "$a" "$b" | wc -l) bytes differ (sizes $(stat -c %s "$a") and $(stat -c %s "$b")); first offsets:"
    cmp -l "$a" "$b" | head -8 | awk '{ printf "    %d (0x%x): %s %s\n", $1 - 1, $1 - 1, $2, $3 }'
    case $a in
        *.deb) for f in "$a" "$b"; do
                   rm -rf "$f.x"; mkdir -p "$f.x/data"
                   (cd "$f.x" && ar x "$f" && tar xf data.tar.* -C data)
                   ar tv "$f" | sed 's/^/  /'
               done
               diff -r "$a.x" "$b.x" | sed 's/^/  /' | head -10 ;;
        *.zip) diff <(unzip -Zl "$a" | tail -n +2) <(unzip -Zl "$b" | tail -n +2) | sed 's/^/  /' | head -10 ;;
    esac
)

started=$SECONDS
first=$TMP/one/quorvath-itemlist
second=$TMP/two/elsewhere/qi
git clone -q "$ROOT" "$first"
git clone -q "$ROOT" "$second"
echo "Commit $(git -C "$first" log -1 --format=%h), released in $first"
release "$first"
echo "first build: $((SECONDS - started)) s"

begun=$SECONDS
user=() who=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
    mkdir -p "$TMP/home"
    chown -R nobody:nogroup "$TMP/two" "$TMP/home"
    user=(setpriv --reuid=nobody --regid=nogroup --clear-groups) who=nobody
fi
# Another user, umask, time zone (UTC+13:45) and locale; no compiler cache.
"${user[@]}" env HOME="$TMP/home" TZ=Pacific/Chatham LANG=C.UTF-8 LC_ALL=C.UTF-8 \
    CCACHE_DISABLE=1 WINDOWS="$WINDOWS" LINUX="$LINUX" \
    bash -c "umask 0002; $(declare -f release); release \"\$1\"" bash "$second"
echo "second build ($who, TZ=Pacific/Chatham, LC_ALL=C.UTF-8, umask 0002, no compiler cache): $((SECONDS - begun)) s"

list=$(artifacts "$first")
[ "$list" = "$(artifacts "$second")" ] || { echo "FAIL: the two builds made different files"; exit 1; }
fails=0
while read -r path; do
    if cmp -s "$first/$path" "$second/$path"; then
        echo "ok: $path $(sha256sum <"$first/$path" | cut -c1-16)"
    else
        echo "FAIL: $path differs"
        explain "$first/$path" "$second/$path"
        fails=$((fails + 1))
    fi
done <<<"$list"
count=$(wc -l <<<"$list")
echo "reproducible builds: $((SECONDS - started)) s, $((count - fails)) of $count artifacts identical"
[ $fails -eq 0 ]
