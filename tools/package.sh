#!/usr/bin/env bash
# The Linux release: `cmake --workflow --preset release`, the Debian package and its
# SHA256SUMS in a fresh build-release/packages/. The same commit gives the same bytes
# (docs/reproducible-builds.md): the .deb's members take their modes from the files.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
umask 022
qi_install_missing "${QI_RUN_PACKAGES[@]}" ccache dpkg-dev file
cd "$QI_ROOT"
rm -rf build-release/packages
cmake --workflow --preset release
rm -rf build-release/packages/_CPack_Packages
(cd build-release/packages && ls -l ./*.deb SHA256SUMS | awk '{print $5, $NF}')
