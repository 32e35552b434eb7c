#!/usr/bin/env bash
# The Linux release: the program built into build/ and its Debian package,
# with SHA256SUMS beside it, in build/packages/. The same commit gives the
# same bytes (packaging/cpack-epoch.cmake); the Windows release is
# tools/windows.sh's.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
qi_install_missing "${QI_RUN_PACKAGES[@]}" dpkg-dev file
qi_compiler_cache
qi_configure "$QI_BUILD"
# What the package holds: the program and the compressed documents.
cmake --build "$QI_BUILD" -j "$(nproc)" --target QuorvathItemlist qi_compressed_docs
rm -rf "$QI_BUILD/packages"
cpack --config "$QI_BUILD/CPackConfig.cmake" -B "$QI_BUILD/packages" >/dev/null
rm -rf "$QI_BUILD/packages/_CPack_Packages"
(cd "$QI_BUILD/packages" && ls -l ./*.deb SHA256SUMS | awk '{print $5, $NF}')
