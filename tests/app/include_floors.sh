#!/usr/bin/env bash
# The folders of src/ stand on one another: a file includes headers of its
# own folder or of a floor below it, never of one above or beside it.
#   include_floors.sh SRC_DIR
set -u
src=$1
floor() {
    case $1 in
        catalog) echo 0 ;; controls) echo 1 ;; support) echo 2 ;;
        mainwindow|reference) echo 3 ;; app) echo 4 ;; *) echo "" ;;
    esac
}
# Each header's folder; made headers by the name of their template.
declare -A home
while read -r path; do
    rel=${path#"$src"/}
    name=$(basename "${rel%.in}")
    home[$name]=${rel%%/*}
done < <(find "$src" -name '*.h' -o -name '*.h.in')
bad=0
while IFS=: read -r file line header; do
    rel=${file#"$src"/}
    from=${rel%%/*}
    to=${home[$header]:-}
    [ -n "$to" ] && [ "$to" != "$from" ] || continue
    if [ -z "$(floor "$from")" ] || [ -z "$(floor "$to")" ]; then
        echo "$rel:$line: $header: $from or $to has no floor here"; bad=1
    elif [ "$(floor "$to")" -ge "$(floor "$from")" ]; then
        echo "$rel:$line: $from includes $header from $to, which is not below it"; bad=1
    fi
done < <(grep -rnoE '^#include "[^"]+"' "$src" | sed -E 's/#include "([^"]+)"$/\1/')
exit $bad
