#!/usr/bin/env bash
# One version: project() in CMakeLists.txt states it and whatever is made takes it from
# there; every tracked file that names a version of ours in words must name this one
# (docs/code-layout.md).
#   one_version.sh SOURCE_DIR PROJECT_VERSION
# A version of ours follows "version", the program's or the package's name, or a tag's "v".
# Windows' spellings count too: major.minor.0.patch, with commas, and 1.00.0001. Of the
# changelog and the AppStream releases, history, only the newest entry counts.
set -euo pipefail
SRC=${1:?usage: $0 SOURCE_DIR PROJECT_VERSION}
VERSION=${2:?usage: $0 SOURCE_DIR PROJECT_VERSION}
IFS=. read -r major minor patch <<<"$VERSION"
accepted=("$VERSION" "$major.$minor.0.$patch" "$major, $minor, 0, $patch"
          "$major.$(printf %02d "$minor").$(printf %04d "$patch")")
history=(packaging/changelog packaging/example.quorvath.Itemlist.metainfo.xml.in)

cd "$SRC"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    list() { git ls-files -z; }
else
    echo "warning: $SRC is not a git checkout; checking every file but the build folders"
    list() { find . -path './build*' -prune -o -path ./.git -prune -o -type f -printf '%P\0'; }
fi
pattern='(?i)(version[^0-9a-z\n]{0,12}|quorvath[ -]itemlist[ _(-]{0,2}|\bv)\K[0-9]+(\.[0-9]+){2,3}|(?i)(file|product)version\s+\K[0-9]+(, *[0-9]+){3}'
found=$(list | xargs -0 grep -IHnoP "$pattern" || true)
[ -n "$found" ] || { echo "FAIL: not even project() states a version"; exit 1; }

fails=0 checked=0 seen_history=()
while IFS= read -r line; do
    file=${line%%:*} rest=${line#*:}
    number=${rest%%:*} stated=${rest#*:}
    if [[ " ${history[*]} " == *" $file "* ]]; then
        [[ " ${seen_history[*]-} " == *" $file "* ]] && continue
        seen_history+=("$file")
    fi
    checked=$((checked + 1))
    ok=0
    for form in "${accepted[@]}"; do [ "$stated" = "$form" ] && ok=1; done
    [ $ok = 1 ] || { echo "FAIL: $file:$number states $stated, the project is $VERSION"; fails=$((fails + 1)); }
done <<<"$found"
echo "$checked mentions checked, $fails of another version than $VERSION"
[ $fails -eq 0 ]
