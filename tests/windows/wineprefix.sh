# Wine prefixes for the Windows tests, sourced: each test runs in a view of
# its own of the prepared prefix, an overlay thrown away after (docs/windows.md).
#   view=$(prefix_view PREFIX)             a new view of PREFIX
#   prefix_machine VIEW VERSION DPI SANS   the view as a Windows machine
#   prefix_reg VIEW KEY VALUE...           values of its HKEY_CURRENT_USER
#   prefix_drop VIEW                       its Wine ended, the view gone

prefix_view() {
    local top
    [ -f "$1/system.reg" ] || { echo "no Wine prefix at '$1'" >&2; return 1; }
    top=$(mktemp -d "${TMPDIR:-/tmp}/qi-prefix.XXXXXX") || return 1
    mkdir "$top/upper" "$top/work" "$top/prefix" || return 1
    if [ "$(id -u)" -ne 0 ] || ! mount -t overlay qi-prefix \
            -o "lowerdir=$1,upperdir=$top/upper,workdir=$top/work" "$top/prefix"; then
        echo "warning: no overlay for a view of the Wine prefix (it needs root): a full copy of $1" >&2
        cp -a "$1/." "$top/prefix/" || return 1
    fi
    echo "$top/prefix"
}

prefix_drop() {
    local top=${1%/prefix}
    case $1 in */qi-prefix.*/prefix) ;; *) echo "not a view of a Wine prefix: $1" >&2; return 1 ;; esac
    WINEPREFIX=$1 wineserver -k 2>/dev/null || true
    WINEPREFIX=$1 wineserver -w 2>/dev/null || true
    if mountpoint -q "$1"; then umount "$1" 2>/dev/null || umount -l "$1"; fi
    rm -rf "$top"
}

# The values go into user.reg before Wine runs there (quicker than starting
# Wine), as Wine writes them: the key's line "[KEY] TIME" with its backslashes
# doubled ('Control Panel\\Desktop'), each value a line below it
# ('"LogPixels"=dword:00000090').
prefix_reg() {
    local file=$1/user.reg key=$2
    shift 2
    [ -f "$file" ] || { echo "no registry at '$file'" >&2; return 1; }
    KEY=$key VALUES=$(printf '%s\n' "$@") NOW=$(date +%s) awk '
        BEGIN { key = ENVIRON["KEY"]; values = ENVIRON["VALUES"] "\n"
                n = split(ENVIRON["VALUES"], lines, "\n")
                for (i = 1; i <= n; i++) { name = lines[i]; sub(/=.*/, "", name); set[name] = 1 } }
        function put() { if (inside) printf "%s", values; inside = 0 }
        /^\[/ { put(); if (index($0, "[" key "] ") == 1) inside = found = 1 }
        /^$/ { put() }
        inside && /^"/ { name = $0; sub(/=.*/, "", name); if (name in set) next }
        { print }
        END { put(); if (!found) printf "\n[%s] %s\n%s", key, ENVIRON["NOW"], values }' "$file" >"$file.new"
    mv "$file.new" "$file"
}

# VERSION as `winecfg -v` names them (win10, win11), in the value Wine reads
# it from; SANS: with MS Sans Serif (1) or without it (0).
prefix_machine() {
    [ -d "$1/drive_c/windows/Fonts" ] || { echo "no Wine prefix at '$1'" >&2; return 1; }
    if [ "$4" = 1 ]; then cp -u /usr/share/wine/fonts/sserife.fon "$1/drive_c/windows/Fonts/"
    else rm -f "$1/drive_c/windows/Fonts/sserife.fon"; fi
    prefix_reg "$1" 'Software\\Wine' "\"Version\"=\"$2\"" &&
        prefix_reg "$1" 'Control Panel\\Desktop' "$(printf '"LogPixels"=dword:%08x' "$3")"
}
