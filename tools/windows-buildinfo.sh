#!/usr/bin/env bash
# The Windows part of a release's buildinfo (tools/release.sh), where the Windows files are
# made: the system, every package that went in, and Qt for Windows' source, patches, options.
#   windows-buildinfo.sh [ORIGIN_NOTE]   ORIGIN_NOTE follows the system's name
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
ROOTS=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake ninja-build
       qt6-base-dev qt6-base-dev-tools nsis zip coreutils)
qt=$(bash "$QI_ROOT/tools/windows.sh" qt | tail -n 1)
echo "Windows-Build-Origin: $(. /etc/os-release && echo "$PRETTY_NAME")${1:-}"
echo "Windows-Build-Roots: ${ROOTS[*]}"
echo "Installed-Build-Depends-Windows:"
python3 "$QI_ROOT/tools/buildinfo.py" packages "${ROOTS[@]}" | sed '$ s/,$//'
cat "$qt/qi-source"
