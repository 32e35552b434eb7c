#!/usr/bin/env bash
# The Linux release: the program built into build-release/ and its Debian
# package, with SHA256SUMS beside it, in build-release/packages/. The Windows
# release is tools/windows.sh's.
#
# The same commit gives the same bytes, built in any folder, with the
# compiler cache or without: the program is built as the tests build it but
# without debug information, which would hold the build's folder (the package
# strips it, but the build id the linker wrote from it stays), and the
# package's time stamps are the last commit's (packaging/source-date-epoch.cmake).
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
# The package's archives take their members' modes from the files.
umask 022
qi_install_missing "${QI_RUN_PACKAGES[@]}" dpkg-dev file
qi_compiler_cache
QI_BUILD=${QI_RELEASE_BUILD_DIR:-$QI_ROOT/build-release}
qi_configure "$QI_BUILD" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG"
# What the package holds: the program and the compressed documents.
cmake --build "$QI_BUILD" -j "$(nproc)" --target QuorvathItemlist qi_compressed_docs
rm -rf "$QI_BUILD/packages"
cpack --config "$QI_BUILD/CPackConfig.cmake" -B "$QI_BUILD/packages" >/dev/null
rm -rf "$QI_BUILD/packages/_CPack_Packages"
(cd "$QI_BUILD/packages" && ls -l ./*.deb SHA256SUMS | awk '{print $5, $NF}')
