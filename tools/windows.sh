#!/usr/bin/env bash
# The Windows build, made on Debian: Qt for Windows is cross-compiled once from
# Debian's own qt6-base source into a cache outside the checkout, then the
# program is built into build-windows/ with its installer and portable zip.
#   bash tools/windows.sh            Qt (once), the program, installer and zip,
#                                    with their SHA256SUMS
#   bash tools/windows.sh qt         only the Qt cache
#   bash tools/windows.sh test [CTEST_ARGUMENT...]
#                                    all of it and the tests, run under Wine
#   bash tools/windows.sh packages   the Debian packages all this needs
# It needs Debian 13's packages: on Debian 12 run it in the Debian 13 root
# (tools/debian13.sh windows-qt, then tools/debian13.sh windows bash
# tools/windows.sh ...), inside the checkout, which is all the root sees.
# QI_WINDOWS_BUILD_DIR sets the build folder, QI_CACHE_DIR the cache's parent.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

QI_WIN_BUILD=${QI_WINDOWS_BUILD_DIR:-$QI_ROOT/build-windows}
QI_WIN_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 nsis fonts-wine icoutils
                 qt6-base-dev qt6-base-dev-tools dpkg-dev xz-utils zip unzip
                 xvfb xauth xdotool imagemagick cmake ninja-build python3-fonttools mount)

# Only what the program and its tests use: Core, Gui, Widgets and Test, the
# Windows and offscreen platforms, the classic Windows styles and Fusion; of
# the image format plugins only ICO's, which a test reads the program's icon
# with (BMP, the only format the program reads, is built into Gui). Of the
# widgets and Gui's services, what the program never makes is left out
# (a static program carries whatever its Qt was built with, called or not),
# and the code is optimized for size. A unity build, which about halved the
# build's time on two cores. The options and Debian's version of the source
# (its patches) are part of the cache's name, so changing either builds a
# new Qt beside the old one.
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
qi_qt_version() {
    dpkg-query -W -f='${Version}' qt6-base-dev | sed 's/[+-].*//'
}

# An apt entry for Debian's source packages, where apt has none, from the
# archives this machine's apt already reads.
qi_deb_src() {
    if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        local sudo=(); [ "$(id -u)" -ne 0 ] && sudo=(sudo)
        local codename signed=/usr/share/keyrings/debian-archive-keyring.gpg archive security
        codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
        archive=$(bash "$QI_ROOT/tools/debian13.sh" mirror main)
        security=$(bash "$QI_ROOT/tools/debian13.sh" mirror security)
        if [ -z "$archive" ]; then
            archive=http://deb.debian.org/debian
            echo "warning: no Debian archive found in /etc/apt's sources; taking Qt's source from $archive" >&2
        fi
        {
            printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n\n' \
                   "$archive" "$codename $codename-updates" "$signed"
            if [ -n "$security" ]; then
                printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n\n' \
                       "$security" "$codename-security" "$signed"
            else
                echo "warning: no security archive found in /etc/apt's sources; Qt's source from $archive alone" >&2
            fi
        } | "${sudo[@]}" tee /etc/apt/sources.list.d/quorvath-itemlist-src.sources >/dev/null
        "${sudo[@]}" apt-get update -qq
    fi
}

# What Qt for Windows was built from, kept beside it for a release's
# buildinfo (tools/release.sh): the source package with its Debian revision,
# Debian's patches, our own change, the configure options.
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

# A Qt built before it kept its record gets one: Debian's patch list comes
# from the source package's Debian part alone, fetched with apt (network).
qi_windows_qt_record_later() {
    [ -f "$QI_WIN_QT/qi-source" ] && return 0
    local tmp uri name size hash
    tmp=$(mktemp -d)
    # Without network (tools/debian13.sh windows) this only warns.
    if (qi_deb_src) >/dev/null 2>&1 \
       && read -r uri name size hash < <(apt-get source --print-uris -qq "qt6-base=$1" 2>/dev/null \
                                          | tr -d "'" | grep '\.debian\.tar\.') \
       && /usr/lib/apt/apt-helper download-file "$uri" "$tmp/$name" "$hash" >/dev/null 2>&1 \
       && tar -xOf "$tmp/$name" debian/patches/series >"$tmp/series" 2>/dev/null; then
        qi_windows_qt_record "$1" "$tmp/series"
    else
        echo "warning: Qt for Windows in $QI_WIN_QT has no record of its source, and Debian's patch list could not be fetched" >&2
    fi
    rm -rf "$tmp"
}

qi_windows_qt() {
    local version source hash
    version=$(qi_qt_version)
    source=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    hash=$(printf '%s\n' "$source" "${QI_QT_OPTIONS[@]}" | cat - "$QI_ROOT/tools/windows/mingw-w64.cmake" \
           | sha256sum | cut -c1-10)
    QI_WIN_QT=$QI_CACHE_DIR/qt-$version-mingw64-static-$hash
    [ -f "$QI_WIN_QT/.complete" ] && { qi_windows_qt_record_later "$source"; return 0; }
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
    # Debian's source with Debian's patches (security fixes among them).
    # apt has checked the files against the archive's signed index; the
    # maintainer's signature on the .dsc needs keys this machine lacks.
    (cd "$work" && apt-get source -o APT::Sandbox::User=root --download-only -qq "qt6-base=$source" >/dev/null \
        && dpkg-source --no-check -x qt6-base_*.dsc src >/dev/null)
    # Qt's Windows platform plugin (6.4 and 6.8 alike) asks the dynamic OpenGL loader about
    # software rendering even when OpenGL is configured out; without OpenGL
    # the answer is no.
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
    for old in "$QI_CACHE_DIR"/qt-*-mingw64-static-*; do
        [ "$old" = "$QI_WIN_QT" ] || { echo "Removing the Qt for Windows built before: $old"; rm -rf "$old"; }
    done
    exec {lock}>&-
}

# The tests' Wine prefix, made once per Wine release and copied where a test
# needs a fresh one.
qi_wine_env() {
    qi_wine_prefix "${QI_WINEPREFIX:-}"
    qi_wine_machine "$WINEPREFIX" 96 1
}

# qi_wine_machine PREFIX DPI SANS: make a prefix look like a Windows machine
# at DPI, with MS Sans Serif (SANS=1) or without it (0), on every run, so that
# a prefix made earlier gets what was added since.
# The fonts every Windows has, as Wine makes them (fonts-wine): Tahoma, its
# message text, and MS Sans Serif, the dialogs' old bitmap face. Wine leaves
# the files out of a new prefix (it registers MS Sans Serif's all the same),
# which then has only Linux's fonts to offer. Font smoothing as Windows ships
# it: ClearType (Wine's default is greyscale), RGB stripes.
qi_wine_machine() {
    local prefix=$1 dpi=$2 sans=$3 fonts=$1/drive_c/windows/Fonts
    cp -u /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$fonts/"
    if [ "$sans" = 1 ]; then cp -u /usr/share/wine/fonts/sserife.fon "$fonts/"
    else rm -f "$fonts/sserife.fon"; fi
    local want=('"FontSmoothing"="2"' '"FontSmoothingType"=dword:00000002'
                '"FontSmoothingOrientation"=dword:00000001' "$(printf '"LogPixels"=dword:%08x' "$dpi")")
    local line missing=()
    for line in "${want[@]}"; do
        awk -v line="$line" '/^\[/ { desktop = index($0, "[Control Panel\\\\Desktop] ") == 1 }
                             desktop && $0 == line { found = 1 } END { exit !found }' "$prefix/user.reg" \
            || missing+=("$line")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n%s\n' \
        "${missing[@]}" >"$prefix/drive_c/machine.reg"
    WINEPREFIX=$prefix wine regedit /S 'C:\machine.reg' >/dev/null 2>&1 || true
    WINEPREFIX=$prefix wineserver -w
}

# SOURCE_DATE_EPOCH, the time every time stamp of a release is set to, by
# the rule the Linux package follows.
qi_source_date_epoch() {
    SOURCE_DATE_EPOCH=$(cmake -DCPACK_QI_SOURCE_DIR="$QI_ROOT" -P "$QI_ROOT/packaging/source-date-epoch.cmake")
    export SOURCE_DATE_EPOCH
}

# qi_windows_program [TARGET...]: builds the targets (all when none is given),
# then the deliverables.
qi_windows_program() {
    echo "== Building the program for Windows into $QI_WIN_BUILD =="
    # A static Qt links its plugins into each program that uses their module,
    # unless told to skip them, which Debian's patches make the default (for
    # its shared packages, where plugins come apart).
    # A build folder made against another Qt for Windows starts afresh: CMake
    # reads the toolchain only once.
    local fresh=()
    [ -f "$QI_WIN_BUILD/CMakeCache.txt" ] \
        && ! grep -q "^CMAKE_TOOLCHAIN_FILE:[A-Z]*=$QI_WIN_QT/" "$QI_WIN_BUILD/CMakeCache.txt" && fresh=(--fresh)
    cmake "${fresh[@]}" -S "$QI_ROOT" -B "$QI_WIN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_TOOLCHAIN_FILE="$QI_WIN_QT/lib/cmake/Qt6/qt.toolchain.cmake" \
          -DQT_CHAINLOAD_TOOLCHAIN_FILE="$QI_ROOT/tools/windows/mingw-w64.cmake" \
          -DCMAKE_CROSSCOMPILING_EMULATOR=wine "${QI_COMPILER_CACHE[@]}" \
          -DQT_SKIP_AUTO_PLUGIN_INCLUSION=OFF -DCMAKE_EXE_LINKER_FLAGS=-static >/dev/null
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    cmake --build "$QI_WIN_BUILD" -j "$(nproc)" "${targets[@]}"

    # The deliverables: the stripped executable, the installer, the zip, and
    # their checksums. The same commit gives the same bytes: every time stamp
    # they hold (the files' times in the installer and the zip) is the last
    # commit's, the zip's entries are in a fixed order with fixed modes, and
    # its times are written in UTC whatever the local time zone.
    qi_source_date_epoch
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
    (cd "$QI_WIN_BUILD" && TZ=UTC zip -q -X "$zip" QuorvathItemlist.exe README.txt)
    (cd "$QI_WIN_BUILD" && sha256sum QuorvathItemlist.exe "$setup" "$zip" >SHA256SUMS)
    (cd "$QI_WIN_BUILD" && ls -l QuorvathItemlist.exe "$setup" "$zip" SHA256SUMS | awk '{print $5, $NF}')
}

[ "${1:-}" = packages ] && { printf '%s\n' "${QI_WIN_PACKAGES[@]}"; exit 0; }
# The toolchain is Debian 13's (Qt's source, MinGW-w64 with g++ 14, Wine 10).
if [ "$(qi_release)" = "debian 12" ]; then
    echo "The Windows build needs Debian 13's toolchain. On Debian 12, in the Debian 13 root (as root):" >&2
    echo "  bash tools/debian13.sh windows-qt && bash tools/debian13.sh windows bash tools/windows.sh $*" >&2
    exit 2
fi
qi_install_missing "${QI_WIN_PACKAGES[@]}"
qi_compiler_cache
qi_windows_qt
[ "${1:-}" = qt ] && { echo "$QI_WIN_QT"; exit 0; }
# A release needs only the program; the tests need everything, and Wine.
if [ "${1:-}" != test ]; then
    qi_windows_program QuorvathItemlist
    exit 0
fi
qi_wine_env
qi_windows_program

echo "== The Windows build's tests, under Wine =="
started=$SECONDS
# Every test runs in a view of the prepared prefix (tests/windows/in_view.sh):
# the in-process tests on Qt's offscreen platform (linked into each test),
# through CMake's emulator, in one view, with the offscreen platform's fonts
# (it reads font files from one folder) and messages on stderr; the rest
# each in a view of its own (tests/windows/CMakeLists.txt).
export WINEPREFIX_BASE=$WINEPREFIX
mkdir -p "$QI_ROOT/test-results"
rm -rf "$QI_WIN_BUILD/e2e-pictures"
mkdir "$QI_WIN_BUILD/e2e-pictures"
cd "$QI_ROOT"
status=0
bash tests/windows/in_view.sh win10 96 1 'QT_QPA_FONTDIR=Z:\usr\share\fonts\truetype\dejavu' QT_FORCE_STDERR_LOGGING=1 \
    ctest --preset windows --test-dir "$QI_WIN_BUILD" -j "$(nproc)" "${@:2}" || status=1
echo "in-process tests under Wine: $((SECONDS - started)) s"
ctest --test-dir "$QI_WIN_BUILD" -LE 'unit|widgets' --output-on-failure -j "$(nproc)" \
      --output-junit "$QI_ROOT/test-results/windows-wine.xml" "${@:2}" || status=1
echo "Windows part: $((SECONDS - started)) s"
exit $status
