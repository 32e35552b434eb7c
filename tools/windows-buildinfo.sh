#!/usr/bin/env bash
# The Windows part of a release's buildinfo (tools/release.sh), written
# where the Windows files are made (on Debian 12, in the Debian 13 root):
# the system, what the build names and the exact version of every package
# that went in, and Qt for Windows' source, patches and options.
#   windows-buildinfo.sh [ORIGIN_NOTE]   ORIGIN_NOTE follows the system's name
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
ROOTS=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake ninja-build
       qt6-base-dev qt6-base-dev-tools nsis zip coreutils)
qt=$(bash "$QI_ROOT/tools/windows.sh" qt | tail -n 1)
echo "Windows-Build-Origin: $(. /etc/os-release && echo "$PRETTY_NAME")${1:-}"
echo "Windows-Build-Roots: ${ROOTS[*]}"
echo "Installed-Build-Depends-Windows:"
python3 "$QI_ROOT/tools/buildinfo.py" packages "${ROOTS[@]}" | sed '$ s/,$//'
if [ -f "$qt/qi-source" ]; then
    cat "$qt/qi-source"
else
    # tools/windows.sh qt writes the record, with network; without it the
    # source's version is all that is known here.
    echo "warning: Qt for Windows in $qt has no record of its source: its patches and options are left out of the buildinfo" >&2
    echo "Qt-For-Windows-Source: qt6-base (= $(dpkg-query -W -f='${Version}' qt6-base-dev))"
    echo "Qt-For-Windows-Patches: unrecorded"
fi
