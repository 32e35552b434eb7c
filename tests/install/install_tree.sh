#!/usr/bin/env bash
# `cmake --install` into a scratch prefix: every file in its freedesktop place,
# accepted by desktop-file-validate and appstreamcli.
source "$(dirname "$0")/common.sh"

prefix=$TMP/prefix
# As a component (the project's only one, every file is in it): CMake then
# lists the files in install_manifest_Unspecified.txt and leaves the
# install_manifest.txt of the user's own install, which the README's
# uninstall step reads, as it was.
cmake --install "$BUILD" --prefix "$prefix" --component Unspecified >"$TMP/install.log" 2>&1 \
    || { cat "$TMP/install.log"; fail "cmake --install"; finish; }
pass "cmake --install"

desktop=$prefix/share/applications/$APP_ID.desktop
metainfo=$prefix/share/metainfo/$APP_ID.metainfo.xml
check "the executable is in bin/" test -x "$prefix/bin/QuorvathItemlist"
check "the desktop entry is in share/applications/" test -f "$desktop"
check "the metainfo is in share/metainfo/" test -f "$metainfo"
check "the logging categories are in share/qlogging-categories6/" \
    grep -q '^quorvath\.font ' "$prefix/share/qlogging-categories6/quorvath-itemlist.categories"
for size in "${ICON_SIZES[@]}"; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png
    check "the ${size}px icon is ${size}x${size} (got $(png_size "$icon" 2>/dev/null))" \
        [ "$(png_size "$icon" 2>/dev/null)" = "${size}x${size}" ]
done

# Hints (two main categories: Game and Utility on purpose) are fine; errors
# and warnings are not, although the validator exits 0 on warnings.
out=$(desktop-file-validate "$desktop" 2>&1) && code=0 || code=$?
echo "$out"
check "desktop-file-validate accepts the entry" [ "$code" = 0 ]
check "desktop-file-validate has no warnings" not grep -qE ": (error|warning):" <<<"$out"
entry() { sed -n "s/^$1=//p" "$desktop"; }
check "Name is Quorvath Itemlist" [ "$(entry Name)" = "Quorvath Itemlist" ]
check "Icon is the application id" [ "$(entry Icon)" = "$APP_ID" ]
check "Categories hold Game and Utility" sh -c 'echo "$0" | grep -q "\bGame;" && echo "$0" | grep -q "\bUtility;"' "$(entry Categories)"
check "Exec names the installed executable" [ -x "$prefix/bin/$(entry Exec | cut -d' ' -f1)" ]

check "appstreamcli validate --no-net accepts the metainfo" appstreamcli validate --no-net "$metainfo"
check "the metainfo launches the desktop entry" grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$metainfo"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
check "the metainfo's release is the project's version $version" grep -q "<release version=\"$version\"" "$metainfo"

check "the installed program starts" runs_for_two_seconds "$prefix/bin/QuorvathItemlist"
finish
