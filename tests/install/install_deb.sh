#!/usr/bin/env bash
# cpack's .deb (made by the test install_package into PACKAGE_DIR) inspected:
# its files, its computed Depends, and that apt would install it.
#   install_deb.sh BUILD_DIR PACKAGE_DIR
source "$(dirname "$0")/common.sh"

debs=("${2:?usage: $0 BUILD_DIR PACKAGE_DIR}"/*.deb)
[ -f "${debs[0]}" ] || { fail "no .deb in $2"; finish; }
deb=${debs[0]}
pass "cpack made $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
check "Package is quorvath-itemlist" [ "$(field Package)" = quorvath-itemlist ]
check "Architecture is the build machine's ($(dpkg --print-architecture))" [ "$(field Architecture)" = "$(dpkg --print-architecture)" ]
check "Section is utils (nothing under /usr/games)" [ "$(field Section)" = utils ]
check "Recommends xdg-utils, for the web buttons" [ "$(field Recommends)" = xdg-utils ]
depends=$(field Depends)
echo "Depends: $depends"
# Computed by dpkg-shlibdeps from the executable: the Qt libraries it links
# and the C++ runtime, each named by the package that holds it here (Debian 13
# renamed some: libqt6core6t64), each with a version bound.
dpkg-deb -x "$deb" "$TMP/root"
holder() {
    local path
    path=$(ldd "$TMP/root/usr/bin/QuorvathItemlist" | awk -v so="$1" '$1 == so { print $3 }')
    [ -n "$path" ] || return 0
    { dpkg -S "$path" 2>/dev/null || dpkg -S "$(realpath "$path")" 2>/dev/null || true; } | head -n 1 | cut -d: -f1
}
for lib in libQt6Widgets.so.6 libQt6Gui.so.6 libQt6Core.so.6 libstdc++.so.6 libc.so.6; do
    pkg=$(holder "$lib")
    check "Depends names ${pkg:-the package of $lib (none found)}, which holds $lib, with a version" \
        sh -c '[ -n "$1" ] && echo "$0" | grep -qE "(^|, )$1 \\(>= [0-9]"' "$depends" "${pkg//+/\\+}"
done

check "Depends names the program's font, fonts-dejavu-extra" \
    grep -qE "(^|, )fonts-dejavu-extra(,|$)" <<<"$depends"

dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$TMP/files"
for path in /usr/bin/QuorvathItemlist \
            /usr/share/applications/$APP_ID.desktop \
            /usr/share/metainfo/$APP_ID.metainfo.xml \
            /usr/share/man/man1/QuorvathItemlist.1.gz \
            /usr/share/doc/quorvath-itemlist/copyright \
            /usr/share/doc/quorvath-itemlist/changelog.gz \
            $(for s in "${ICON_SIZES[@]}"; do echo "/usr/share/icons/hicolor/${s}x${s}/apps/$APP_ID.png"; done); do
    check "the package holds $path" grep -qx "$path" "$TMP/files"
done
check "nothing outside /usr" not grep -qvE '^/$|^/usr(/|$)' "$TMP/files"

# Unpacked as the package would place it, the program finds its libraries and starts.
check "the packaged executable resolves every library" \
    not grep -q "not found" <<<"$(ldd "$TMP/root/usr/bin/QuorvathItemlist")"
check "the packaged executable starts" runs_for_two_seconds "$TMP/root/usr/bin/QuorvathItemlist"

# apt's own dependency resolution, simulated: nothing is installed.
if command -v apt-get >/dev/null; then
    check "apt-get would install it" sh -c 'apt-get install --simulate -qq "$0" >/dev/null 2>&1' "$deb"
fi
finish
