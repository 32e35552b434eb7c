#!/usr/bin/env bash
# Quick start, command 2: set up, build and run the whole test suite.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
qi_setup test
cd "$QI_BUILD"
ctest --output-on-failure -j "$(nproc)"
