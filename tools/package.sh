#!/usr/bin/env bash
# The Linux release: the program built into build-release/ and its Debian
# package, with SHA256SUMS beside it, in build-release/packages/: what
# `cmake --workflow --preset release` makes, into a fresh packages folder and
# into QI_RELEASE_BUILD_DIR if set. The Windows release is tools/windows.sh's.
#
# The same commit gives the same bytes, built in any folder, with the
# compiler cache or without: the program is built as the tests build it but
# without debug information, which would hold the build's folder (the package
# strips it, but the build id the linker wrote from it stays), and the
# package's time stamps are the last commit's (packaging/source-date-epoch.cmake).
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
# The package's archives take their members' modes from the files.
umask 022
qi_install_missing "${QI_RUN_PACKAGES[@]}" ccache dpkg-dev file
cd "$QI_ROOT"
B=${QI_RELEASE_BUILD_DIR:-$QI_ROOT/build-release}
rm -rf "$B/packages"
cmake --preset release -B "$B" >/dev/null
cmake --build "$B" --target QuorvathItemlist qi_compressed_docs
cpack --config "$B/CPackConfig.cmake" -B "$B/packages" >/dev/null
rm -rf "$B/packages/_CPack_Packages"
(cd "$B/packages" && ls -l ./*.deb SHA256SUMS | awk '{print $5, $NF}')
