#!/usr/bin/env bash
# A release of the last commit, in one folder (docs/reproducible-builds.md):
#   bash tools/release.sh [FOLDER]     FOLDER: out/quorvath-itemlist-VERSION/
# The Debian package, the Windows setup, zip and executable, RELEASE-NOTES.txt, the
# .buildinfo that tools/check-release.sh makes it again from, and SHA256SUMS of them all.
# The working tree must be the commit. QI_NO_WINDOWS=1 makes the Linux part only.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
umask 022
qi_install_missing python3
QI_VERSION=$(sed -n 's/^project(QuorvathItemlist VERSION \([0-9.]*\).*/\1/p' "$QI_ROOT/CMakeLists.txt")
# What each build names, beyond which the buildinfo follows the dependencies.
QI_LINUX_ROOTS=(g++ binutils cmake ninja-build pkg-config qt6-base-dev libgl-dev libxcb1-dev
                dpkg-dev file gzip coreutils)

WINDOWS=$([ "${QI_NO_WINDOWS:-0}" = 1 ] && echo 0 || echo 1)
OUT=$(realpath -m "${1:-$QI_ROOT/out/quorvath-itemlist-$QI_VERSION}")
git -C "$QI_ROOT" diff --quiet HEAD -- \
    || { echo "The checkout has changes: a release is made from a commit, as it is." >&2; exit 1; }
COMMIT=$(git -C "$QI_ROOT" rev-parse HEAD)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$QI_ROOT" log -1 --format=%ct)}
started=$SECONDS

echo "== The Linux package =="
bash "$QI_ROOT/tools/package.sh"
LINUX_BUILD=$QI_ROOT/build-release
if [ "$WINDOWS" = 1 ]; then
    echo "== The Windows files =="
    [ "$(qi_release)" != "debian 12" ] || bash "$QI_ROOT/tools/debian13.sh" windows-qt
    qi_windows_toolchain bash "$QI_ROOT/tools/windows.sh"
fi
WIN_BUILD=${QI_WINDOWS_BUILD_DIR:-$QI_ROOT/build-windows}

rm -rf "$OUT"
mkdir -p "$OUT"
cp "$LINUX_BUILD"/packages/*.deb "$OUT/"
if [ "$WINDOWS" = 1 ]; then
    cp "$WIN_BUILD/QuorvathItemlist.exe" "$WIN_BUILD/quorvath-itemlist-$QI_VERSION-setup.exe" \
       "$WIN_BUILD/quorvath-itemlist-$QI_VERSION-windows.zip" "$OUT/"
fi
# The changelog's newest entry: from its first line to its first sign-off.
sed -n '1,/^ -- /p' "$QI_ROOT/packaging/changelog" >"$OUT/RELEASE-NOTES.txt"

buildinfo=$OUT/quorvath-itemlist-$QI_VERSION.buildinfo
{
    echo "Format: 1.0"
    echo "Source: quorvath-itemlist"
    echo "Version: $QI_VERSION"
    echo "Commit: $COMMIT"
    echo "Source-Date-Epoch: $SOURCE_DATE_EPOCH"
    echo "Build-Architecture: $(dpkg --print-architecture)"
    echo "Linux-Files: $(cd "$OUT" && ls ./*.deb | sed 's|^\./||')"
    echo "Linux-Build-Origin: $(. /etc/os-release && echo "$PRETTY_NAME")"
    echo "Linux-Build-Roots: ${QI_LINUX_ROOTS[*]}"
    echo "Installed-Build-Depends-Linux:"
    python3 "$QI_ROOT/tools/buildinfo.py" packages "${QI_LINUX_ROOTS[@]}" | sed '$ s/,$//'
    if [ "$WINDOWS" = 1 ]; then
        echo "Windows-Files: QuorvathItemlist.exe quorvath-itemlist-$QI_VERSION-setup.exe quorvath-itemlist-$QI_VERSION-windows.zip"
        qi_windows_toolchain bash "$QI_ROOT/tools/windows-buildinfo.sh" \
            "$([ "$(qi_release)" != "debian 12" ] || echo " (the root of tools/debian13.sh)")"
    fi
} >"$buildinfo"
(cd "$OUT" && sha256sum $(ls | grep -v '^SHA256SUMS$') >SHA256SUMS)

echo "== Release $QI_VERSION of $COMMIT in $OUT ($((SECONDS - started)) s) =="
(cd "$OUT" && ls -l | awk 'NR > 1 {print $5, $NF}')
tag=v$QI_VERSION
if [ "$(git -C "$QI_ROOT" rev-parse -q --verify "refs/tags/$tag^{commit}" 2>/dev/null)" = "$COMMIT" ]; then
    echo "Tagged $tag."
else
    echo "To tag it, once it is published:  git tag -a $tag $COMMIT -m 'Quorvath Itemlist $QI_VERSION' && git push origin $tag"
fi
