#!/usr/bin/env bash
# CMD in a view of its own of the prepared Wine prefix (WINEPREFIX_BASE), as a
# machine that reports Windows VERSION at DPI, with MS Sans Serif (SANS=1) or
# not (0). Wine hands Linux's QT_* variables to no Windows program: NAME=VALUE
# words before CMD go into the view's Windows environment (its registry).
#   in_view.sh VERSION DPI SANS [NAME=VALUE...] CMD...
source "$(dirname "${BASH_SOURCE[0]}")/wineprefix.sh"
view=$(prefix_view "${WINEPREFIX_BASE:?the prepared Wine prefix}") || exit 1
trap 'prefix_drop "$view"' EXIT
prefix_machine "$view" "$1" "$2" "$3" || exit 1
shift 3
values=()
while [[ ${1:-} =~ ^[A-Za-z_][A-Za-z0-9_]*= ]]; do
    value=${1#*=}
    values+=("\"${1%%=*}\"=\"${value//\\/\\\\}\"")
    shift
done
[ ${#values[@]} -eq 0 ] || prefix_reg "$view" Environment "${values[@]}" || exit 1
WINEPREFIX=$view "$@"
