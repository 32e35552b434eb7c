#!/usr/bin/env bash
# Each folder of src/ includes only its own headers and those of the floors
# below it (docs/code-layout.md); the floors lowest first, a floor's folders
# joined by commas.   include_floors.sh SRC_DIR FLOOR...
set -u
src=$1
shift
declare -A floor
level=0
for folders in "$@"; do
    for folder in ${folders//,/ }; do floor[$folder]=$level; done
    level=$((level + 1))
done
# Each header's folder; made headers by the name of their template.
declare -A home
while read -r path; do
    rel=${path#"$src"/}
    name=$(basename "${rel%.in}")
    home[$name]=${rel%%/*}
done < <(find "$src" -name '*.h' -o -name '*.h.in')
# The logging categories' made headers, <concern>log.h, by the folder whose
# CMakeLists.txt declares them.
while IFS=: read -r path concern; do
    rel=${path#"$src"/}
    home[${concern}log.h]=${rel%%/*}
done < <(grep -roE '^qi_logging_category\([a-z_]+ [A-Za-z]+ [a-z]+' --include=CMakeLists.txt "$src" \
         | sed -E 's/qi_logging_category\([a-z_]+ [A-Za-z]+ //')
bad=0
# Every folder of src/ stands on a floor.
for dir in "$src"/*/; do
    folder=$(basename "$dir")
    [ -n "${floor[$folder]:-}" ] || { echo "src/$folder is on no floor"; bad=1; }
done
while IFS=: read -r file line header; do
    rel=${file#"$src"/}
    from=${rel%%/*}
    to=${home[$(basename "$header")]:-}
    [ -n "$to" ] && [ "$to" != "$from" ] || continue
    if [ -z "${floor[$from]:-}" ] || [ -z "${floor[$to]:-}" ]; then
        echo "$rel:$line: $header: $from or $to has no floor here"; bad=1
    elif [ "${floor[$to]}" -ge "${floor[$from]}" ]; then
        echo "$rel:$line: $from includes $header from $to, which is not below it"; bad=1
    fi
done < <(grep -rnoE '^#include "[^"]+"' "$src" | sed -E 's/#include "([^"]+)"$/\1/')
exit $bad
