#!/usr/bin/env bash
# A release made from the last commit in one clone, checked from a second clone elsewhere
# under another time zone, locale and umask, without the compiler cache: every file must
# match; with one byte changed the check must fail and name the file. Then the README's
# install and uninstall on the first clone's build (docs/reproducible-builds.md, "The test").
#   reproducible.sh [KEEP_DIR]   KEEP_DIR keeps the clones for a closer look
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/setup.sh"
ROOT=$QI_ROOT
if [ -n "${1:-}" ]; then TMP=$1; mkdir -p "$TMP"; else TMP=$(mktemp -d); trap 'rm -rf "$TMP"' EXIT; fi
chmod 0755 "$TMP"
export QI_CACHE_DIR
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
started=$SECONDS

maker=$TMP/one/quorvath-itemlist
git clone -q "$ROOT" "$maker"
echo "Commit $(git -C "$maker" log -1 --format=%h), released in $maker"
bash "$maker/tools/release.sh" "$TMP/release" >"$TMP/release.log" 2>&1 \
    || { tail -40 "$TMP/release.log"; echo "FAIL: tools/release.sh"; exit 1; }
tail -n 12 "$TMP/release.log"
echo "release made: $((SECONDS - started)) s"

# Downloaded into another folder, checked from another clone elsewhere.
mkdir -p "$TMP/downloads"
cp -r "$TMP/release" "$TMP/downloads/release"
checker=$TMP/two/elsewhere/qi
git clone -q "$ROOT" "$checker"
check() {   # check FOLDER LOG
    (umask 0002
     env TZ=Pacific/Chatham LANG=C.UTF-8 LC_ALL=C.UTF-8 CCACHE_DISABLE=1 \
         QI_CHECK_WORKTREE="$TMP/two/worktree" bash "$checker/tools/check-release.sh" "$1") >"$2" 2>&1
}
begun=$SECONDS
if check "$TMP/downloads/release" "$TMP/check.log"; then
    echo "ok: the release checks from another folder (TZ=Pacific/Chatham, LC_ALL=C.UTF-8, umask 0002, no compiler cache): $((SECONDS - begun)) s"
else
    cat "$TMP/check.log"; fail "the release does not check"
fi
grep -E '^(downloaded|made here):|toolchain|differ' "$TMP/check.log" | sed 's/^/  /'

# One byte of a copy changed: the check fails and names the file.
cp -r "$TMP/downloads/release" "$TMP/downloads/changed"
victim=$(cd "$TMP/downloads/changed" && ls ./*.deb | head -n 1 | sed 's|^\./||')
printf '\x5a' | dd of="$TMP/downloads/changed/$victim" bs=1 seek=4096 conv=notrunc status=none
begun=$SECONDS
if check "$TMP/downloads/changed" "$TMP/changed.log"; then
    cat "$TMP/changed.log"; fail "a release with one byte of $victim changed checks"
elif grep -qx "downloaded: $victim: FAILED" "$TMP/changed.log"; then
    echo "ok: with one byte of $victim changed the check fails and names it: $((SECONDS - begun)) s"
else
    cat "$TMP/changed.log"; fail "the check failed without naming $victim"
fi

# Installing and uninstalling as the README says, with the install tests
# between: they must not touch the list the uninstall line reads.
build=$maker/build-release
prefix=$TMP/prefix
mkdir -p "$prefix/share/applications" "$prefix/bin"
echo other >"$prefix/share/applications/other.desktop"
echo other >"$prefix/bin/other"
before=$(cd "$prefix" && find . | sort)
cmake --install "$build" --prefix "$prefix" >/dev/null
cp "$build/install_manifest.txt" "$TMP/manifest"
failed_before=$fails
run_install_test() {
    ctest --test-dir "$build" -R "^$1\$" --output-on-failure >"$TMP/$1.log" 2>&1 \
        || { cat "$TMP/$1.log"; fail "$1"; }
}
run_install_test install_tree
# The test's own list is of the same files: the component is all there is.
diff <(sed "s|^$prefix/||" "$TMP/manifest" | sort) \
     <(sed 's|^.*/prefix/||' "$build/install_manifest_Unspecified.txt" | sort) \
    || fail "install_tree's component installs other files than cmake --install"
run_install_test install_deb
cmp -s "$build/install_manifest.txt" "$TMP/manifest" \
    || fail "the install tests changed build-release/install_manifest.txt"
grep -v "^$prefix/" "$TMP/manifest" && fail "the list names files outside the prefix"
# The README's line, in the build folder's stead.
(cd "$maker" && xargs -d '\n' rm -f < build-release/install_manifest.txt)
left=$(cd "$prefix" && find . ! -type d | sort)
[ "$left" = "$(printf '%s\n' ./bin/other ./share/applications/other.desktop)" ] \
    || fail "after uninstalling, the prefix holds: $left"
grep -q other "$prefix/bin/other" || fail "another program's file was changed"
after=$(cd "$prefix" && find . | sort)
comm -13 <(echo "$before") <(echo "$after") >"$TMP/new-dirs" || true
[ $fails -eq $failed_before ] && echo "ok: $(wc -l <"$TMP/manifest") files installed into a prefix, install_tree and install_deb run, the README's uninstall line removed exactly them (the $(wc -l <"$TMP/new-dirs") folders made for them stay)"

echo "release made, checked and rejected with one byte changed: $((SECONDS - started)) s, $fails failed"
[ $fails -eq 0 ]
