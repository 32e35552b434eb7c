#!/usr/bin/env bash
# The Windows build, made on Debian with Debian 13's toolchain (docs/windows.md):
#   bash tools/windows.sh           Qt for Windows (once, into the cache), then the program,
#                                   its installer and zip, with their SHA256SUMS, in build-windows/
#   bash tools/windows.sh qt        only Qt for Windows; prints its folder
#   bash tools/windows.sh test [CTEST_ARGUMENT...]   all of it, and the tests under Wine
#   bash tools/windows.sh packages  the Debian packages it needs
# QI_WINDOWS_BUILD_DIR sets the build folder.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

QI_WIN_BUILD=${QI_WINDOWS_BUILD_DIR:-$QI_ROOT/build-windows}
QI_WIN_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 nsis fonts-wine icoutils
                 qt6-base-dev qt6-base-dev-tools dpkg-dev xz-utils zip unzip
                 xvfb xauth xdotool imagemagick cmake ninja-build python3-fonttools mount)

# Qt for Windows with only what the program and its tests use, optimized for size, a unity
# build (docs/windows.md says what stays on and why). The options and Debian's version of
# the source are part of the cache's name: changing either builds a new Qt.
QI_QT_UNUSED=(sql network dbus printsupport concurrent xml opengl vulkan openssl zstd
              tabletevent gif jpeg testlib_selfcover
              style_windows11 mdiarea dockwidget
              calendarwidget datetimeedit colordialog fontdialog filedialog wizard
              progressdialog errormessage undoview undocommand undostack undogroup columnview
              datawidgetmapper lcdnumber dial keysequenceedit fontcombobox splashscreen toolbox
              textbrowser syntaxhighlighter scroller
              textodfwriter textmarkdownreader textmarkdownwriter pdf systemtrayicon movie
              imageformat_ppm imageformat_xbm
              sharedmemory systemsemaphore jalalicalendar islamiccivilcalendar
              transposeproxymodel)
QI_QT_OPTIONS=(-DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release -DQT_UNITY_BUILD=ON
               -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
               -DFEATURE_optimize_size=ON)
for feature in "${QI_QT_UNUSED[@]}"; do QI_QT_OPTIONS+=("-DFEATURE_$feature=OFF"); done

# An apt entry for Debian's source packages, where apt has none, from the archives it reads.
qi_deb_src() {
    grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/ && return 0
    local codename entry='Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n\n'
    local keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    qi_archives
    {
        printf "$entry" "$QI_ARCHIVE" "$codename $codename-updates" "$keyring"
        [ -z "$QI_SECURITY" ] || printf "$entry" "$QI_SECURITY" "$codename-security" "$keyring"
    } | "${QI_SUDO[@]}" tee /etc/apt/sources.list.d/quorvath-itemlist-src.sources >/dev/null
    "${QI_SUDO[@]}" apt-get update -qq
}

# What Qt for Windows was built from, kept beside it for a release's buildinfo
# (tools/windows-buildinfo.sh): the source package, Debian's patches, our change, the options.
qi_windows_qt_record() {   # SOURCE_VERSION SERIES_FILE
    {
        echo "Qt-For-Windows-Source: qt6-base (= $1)"
        echo "Qt-For-Windows-Patches:"
        grep -v '^\s*\(#\|$\)' "$2" | sed 's/^/ /'
        echo "Qt-For-Windows-Local-Change: tools/windows.sh: isSoftwareGl() in the Windows platform plugin asks the dynamic OpenGL loader only when OpenGL is configured"
        echo "Qt-For-Windows-Configure:"
        printf ' %s\n' "-DCMAKE_TOOLCHAIN_FILE=tools/windows/mingw-w64.cmake (sha256 $(sha256sum <"$QI_ROOT/tools/windows/mingw-w64.cmake" | cut -c1-64))" \
               -DQT_HOST_PATH=/usr "${QI_QT_OPTIONS[@]}"
    } >"$QI_WIN_QT/qi-source.new"
    mv "$QI_WIN_QT/qi-source.new" "$QI_WIN_QT/qi-source"
}

qi_windows_qt() {
    local version source hash
    source=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    version=${source%%[+-]*}
    hash=$(printf '%s\n' "$source" "${QI_QT_OPTIONS[@]}" | cat - "$QI_ROOT/tools/windows/mingw-w64.cmake" \
           | sha256sum | cut -c1-10)
    QI_WIN_QT=$QI_CACHE_DIR/qt-$version-mingw64-static-$hash
    [ -f "$QI_WIN_QT/.complete" ] && return 0
    # One build at a time; whoever waited finds it made.
    mkdir -p "$QI_CACHE_DIR"
    exec {lock}>"$QI_CACHE_DIR/qt-$version-$hash.lock"
    flock "$lock"
    [ -f "$QI_WIN_QT/.complete" ] && { exec {lock}>&-; return 0; }

    echo "== Building Qt $version for Windows into $QI_WIN_QT (once) =="
    local work=$QI_CACHE_DIR/work-$version-$hash
    rm -rf "$work" "$QI_WIN_QT"
    mkdir -p "$work"
    qi_deb_src
    # Debian's source with Debian's patches, checked by apt against the archive's signed
    # index (the maintainer's signature on the .dsc needs keys this machine lacks).
    (cd "$work" && apt-get source -o APT::Sandbox::User=root --download-only -qq "qt6-base=$source" >/dev/null \
        && dpkg-source --no-check -x qt6-base_*.dsc src >/dev/null)
    # Qt's Windows platform asks the dynamic OpenGL loader about software rendering even
    # when OpenGL is configured out; without OpenGL the answer is no.
    sed -i '/^static inline bool isSoftwareGl()/,/^}/ s/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
        "$work/src/src/plugins/platforms/windows/qwindowswindow.cpp"
    local started=$SECONDS
    cmake -S "$work/src" -B "$work/build" -G Ninja \
          -DCMAKE_TOOLCHAIN_FILE="$QI_ROOT/tools/windows/mingw-w64.cmake" \
          -DQT_HOST_PATH=/usr -DQt6HostInfo_DIR=/usr/lib/x86_64-linux-gnu/cmake/Qt6HostInfo \
          -DCMAKE_INSTALL_PREFIX="$QI_WIN_QT" "${QI_QT_OPTIONS[@]}" >"$work/configure.log" 2>&1 \
        || { tail -40 "$work/configure.log"; exit 1; }
    cmake --build "$work/build" -j "$(nproc)" >"$work/build.log" 2>&1 \
        || { tail -40 "$work/build.log"; exit 1; }
    cmake --install "$work/build" >/dev/null
    qi_windows_qt_record "$source" "$work/src/debian/patches/series"
    echo "Qt for Windows built in $((SECONDS - started)) s"
    touch "$QI_WIN_QT/.complete"
    rm -rf "$work"
    # Qt built before with other options or from other source is not used again.
    local old
    for old in "$QI_CACHE_DIR"/qt-*-mingw64-static-* "$QI_CACHE_DIR"/qt-*.lock; do
        [ "$old" = "$QI_WIN_QT" ] || [ "$old" = "$QI_CACHE_DIR/qt-$version-$hash.lock" ] \
            || { echo "Removing what a Qt for Windows built before left: $old"; rm -rf "$old"; }
    done
    exec {lock}>&-
}

# qi_windows_program [TARGET...]: builds the targets (all when none is given), then the
# deliverables.
qi_windows_program() {
    echo "== Building the program for Windows into $QI_WIN_BUILD =="
    # A build folder made against another Qt for Windows starts afresh: CMake reads the
    # toolchain only once.
    local fresh=()
    [ -f "$QI_WIN_BUILD/CMakeCache.txt" ] \
        && ! grep -q "^CMAKE_TOOLCHAIN_FILE:[A-Z]*=$QI_WIN_QT/" "$QI_WIN_BUILD/CMakeCache.txt" && fresh=(--fresh)
    QI_WIN_QT=$QI_WIN_QT cmake "${fresh[@]}" --preset windows -B "$QI_WIN_BUILD" >/dev/null
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    cmake --build "$QI_WIN_BUILD" -j "$(nproc)" "${targets[@]}"

    # The deliverables, the same bytes from the same commit: every time stamp they hold is
    # the last commit's, the zip's entries in a fixed order and mode, its times in UTC.
    export SOURCE_DATE_EPOCH
    SOURCE_DATE_EPOCH=$(cmake -DCPACK_QI_SOURCE_DIR="$QI_ROOT" -P "$QI_ROOT/packaging/source-date-epoch.cmake")
    local exe=$QI_WIN_BUILD/QuorvathItemlist.exe version
    version=$(sed -n 's/^project(QuorvathItemlist VERSION \([0-9.]*\).*/\1/p' "$QI_ROOT/CMakeLists.txt")
    x86_64-w64-mingw32-strip -o "$exe" "$QI_WIN_BUILD/src/app/QuorvathItemlist.exe"
    cp "$QI_WIN_BUILD/packaging/windows/README.txt" "$QI_WIN_BUILD/README.txt"
    chmod 0644 "$exe" "$QI_WIN_BUILD/README.txt"
    touch -d "@$SOURCE_DATE_EPOCH" "$exe" "$QI_WIN_BUILD/README.txt"
    local setup=quorvath-itemlist-$version-setup.exe zip=quorvath-itemlist-$version-windows.zip
    makensis -V2 -DVERSION="$version" -DBUILD="$QI_WIN_BUILD" -DSOURCE="$QI_ROOT" \
             "$QI_ROOT/packaging/windows/installer.nsi"
    rm -f "$QI_WIN_BUILD/$zip"
    (cd "$QI_WIN_BUILD" && TZ=UTC zip -q -X "$zip" QuorvathItemlist.exe README.txt \
        && sha256sum QuorvathItemlist.exe "$setup" "$zip" >SHA256SUMS \
        && ls -l QuorvathItemlist.exe "$setup" "$zip" SHA256SUMS | awk '{print $5, $NF}')
}

[ "${1:-}" = packages ] && { printf '%s\n' "${QI_WIN_PACKAGES[@]}"; exit 0; }
if [ "$(qi_release)" = "debian 12" ]; then
    echo "The Windows build needs Debian 13's toolchain. On Debian 12, in the Debian 13 root (as root):" >&2
    echo "  bash tools/debian13.sh windows-qt && bash tools/debian13.sh windows bash tools/windows.sh $*" >&2
    exit 2
fi
qi_install_missing "${QI_WIN_PACKAGES[@]}"
qi_windows_qt
[ "${1:-}" = qt ] && { echo "$QI_WIN_QT"; exit 0; }
# A release needs only the program; the tests need everything, and Wine.
if [ "${1:-}" != test ]; then
    qi_windows_program QuorvathItemlist
    exit 0
fi
qi_wine_prefix "${QI_WINEPREFIX:-}"
qi_windows_program

echo "== The Windows build's tests, under Wine =="
# Each runs in a view of the prepared prefix (tests/windows/wineprefix.py): the in-process tests
# on the offscreen platform in one view, with its fonts (it reads them from one folder) and
# messages on stderr; the rest each in a view of its own (tests/windows/CMakeLists.txt).
started=$SECONDS
export WINEPREFIX_BASE=$WINEPREFIX
mkdir -p "$QI_ROOT/test-results"
rm -rf "$QI_WIN_BUILD/e2e-pictures"
mkdir "$QI_WIN_BUILD/e2e-pictures"
cd "$QI_ROOT"
status=0
/usr/bin/python3 tests/windows/wineprefix.py win10 96 1 'QT_QPA_FONTDIR=Z:\usr\share\fonts\truetype\dejavu' QT_FORCE_STDERR_LOGGING=1 \
    ctest --preset windows --test-dir "$QI_WIN_BUILD" -j "$(nproc)" "${@:2}" || status=1
echo "in-process tests under Wine: $((SECONDS - started)) s"
ctest --test-dir "$QI_WIN_BUILD" -LE 'unit|widgets' --output-on-failure -j "$(nproc)" \
      --output-junit "$QI_ROOT/test-results/windows-wine.xml" "${@:2}" || status=1
echo "Windows part: $((SECONDS - started)) s"
exit $status
