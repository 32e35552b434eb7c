#!/usr/bin/env bash
# CMD in a view of its own of the prepared Wine prefix (WINEPREFIX_BASE), as
# a Windows machine that reports VERSION (win10, win11) at DPI, with MS Sans
# Serif (SANS=1) or without it (0); the view is thrown away after.
#   in_view.sh VERSION DPI SANS CMD...
source "$(dirname "${BASH_SOURCE[0]}")/wineprefix.sh"
view=$(prefix_view "${WINEPREFIX_BASE:?the prepared Wine prefix}") || exit 1
trap 'prefix_drop "$view"' EXIT
prefix_machine "$view" "$1" "$2" "$3" || exit 1
WINEPREFIX=$view "${@:4}"
