#!/usr/bin/env bash
# The version resource (our six strings, version 1.0.0.1), the icon and the one
# application manifest, compiled from the resource script or read back from an
# executable, whose header must also name Windows 10 as its oldest:
#   versionresource.sh QuorvathItemlist.rc | QuorvathItemlist.exe
set -euo pipefail
rc=$1
windres=$(command -v x86_64-w64-mingw32-windres) || { echo "x86_64-w64-mingw32-windres missing"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ "${rc##*.}" = exe ]; then
    "$windres" -i "$rc" -O rc > "$work/app.rc"
else
    cd "$(dirname "$rc")"
    "$windres" --preprocessor=cpp -i "$(basename "$rc")" -o "$work/app.res"
    "$windres" -i "$work/app.res" -O rc > "$work/app.rc"
fi

fail=0
expect() { grep -qF -- "$1" "$work/app.rc" || { echo "missing: $1"; fail=1; }; }
expect 'VALUE "CompanyName", "Emberlight Hollow Software"'
expect 'VALUE "ProductName", "Quorvath Itemlist For Windows"'
expect 'VALUE "FileVersion", "1.00.0001"'
expect 'VALUE "ProductVersion", "1.00.0001"'
expect 'VALUE "InternalName", "QuorvathItemlist"'
expect 'VALUE "OriginalFilename", "QuorvathItemlist.exe"'
expect 'FILEVERSION 1, 0, 0, 1'
expect 'PRODUCTVERSION 1, 0, 0, 1'
expect 'FILEOS 0x4'
expect 'FILETYPE 0x1'
expect 'BLOCK "040904B0"'
expect 'VALUE "Translation", 0x409, 1200'
expect 'LANGUAGE 9, 1'
grep -q 'FILEFLAGS ' "$work/app.rc" && { echo "unexpected file flags"; fail=1; }
values=$(grep -c 'VALUE "' "$work/app.rc")
[ "$values" -eq 7 ] || { echo "expected 6 strings and the translation, found $values values"; fail=1; }
grep -q 'Type: icon' "$work/app.rc" || { echo "no icon resource"; fail=1; }

# The manifest (RT_MANIFEST 24, id 1), as windres prints it: quotes doubled.
manifests=$(grep -c '^[0-9A-Za-z_]* 24 /\* RT_MANIFEST \*/' "$work/app.rc" || true)
[ "$manifests" -eq 1 ] || { echo "expected one manifest, found $manifests"; fail=1; }
expect '1 24 /* RT_MANIFEST */'
expect 'name=""EmberlightHollow.QuorvathItemlist"" version=""1.0.0.1""'
expect 'level=""asInvoker"" uiAccess=""false""'
expect '<supportedOS Id=""{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}""/>'   # Windows 10 and 11
expect '>true/pm</dpiAware>'
expect '>PerMonitorV2, PerMonitor</dpiAwareness>'
expect '>UTF-8</activeCodePage>'

if [ "${rc##*.}" = exe ]; then
    header=$(x86_64-w64-mingw32-objdump -p "$rc")
    for field in MajorOSystemVersion:10 MinorOSystemVersion:0 \
                 MajorSubsystemVersion:10 MinorSubsystemVersion:0; do
        got=$(awk -v f="${field%:*}" '$1 == f { print $2 }' <<<"$header")
        [ "$got" = "${field#*:}" ] || { echo "PE header: ${field%:*} is '$got', not ${field#*:}"; fail=1; }
    done
fi
[ $fail -eq 0 ] && echo "version resource, manifest and header ok"
exit $fail
