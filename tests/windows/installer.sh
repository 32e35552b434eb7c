#!/usr/bin/env bash
# The installer in a fresh copy of the Wine prefix, silently both ways:
# installed files, Start menu shortcut and "Apps and features" entry, the
# installed program starting, and nothing left after the uninstall.
#   installer.sh BUILD_DIR      (WINEPREFIX: a prepared prefix to copy)
set -euo pipefail
build=$(cd "$1" && pwd)
setup=$(ls "$build"/quorvath-itemlist-*-setup.exe)
work=$(mktemp -d)
export WINEPREFIX=$work/prefix
cp -a "${WINEPREFIX_BASE:?}" "$WINEPREFIX"
xvfb=
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fails=0
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; fails=$((fails + 1)); fi; }

dir="$WINEPREFIX/drive_c/Program Files/Quorvath Itemlist"
link="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvath Itemlist.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuorvathItemlist'
value() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'; }

# A display from the start: Wine's desktop process, started with the first
# program, keeps the display it found for the programs after it.
n=$((500 + RANDOM % 400))
while [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:$n
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

wine "$setup" /S
wineserver -w
check "the program is installed into Program Files" cmp -s "$build/QuorvathItemlist.exe" "$dir/QuorvathItemlist.exe"
check "with its read-me and uninstaller" test -f "$dir/README.txt" -a -f "$dir/uninstall.exe"
check "a Start menu shortcut for all users" test -f "$link"
check "Apps and features names it (got '$(value DisplayName)')" [ "$(value DisplayName)" = "Quorvath Itemlist" ]
check "with version 1.0.1 (got '$(value DisplayVersion)')" [ "$(value DisplayVersion)" = 1.0.1 ]
check "its publisher (got '$(value Publisher)')" [ "$(value Publisher)" = "Emberlight Hollow Software" ]
check "its icon" sh -c 'echo "$0" | grep -q "QuorvathItemlist.exe,0$"' "$(value DisplayIcon)"
check "and a silent uninstall" sh -c 'echo "$0" | grep -q "uninstall.exe\" /S$"' "$(value QuietUninstallString)"

# The installed program starts: its intro window comes up.
wine "C:\\Program Files\\Quorvath Itemlist\\QuorvathItemlist.exe" &
started() { [ -n "$(xdotool search --onlyvisible --name "^Quorvath Itemlist for Windows Version 1.0.1A\$" 2>/dev/null)" ]; }
up=1
for _ in $(seq 600); do started && { up=0; break; }; sleep 0.1; done
check "the installed program starts on its intro window" [ $up = 0 ]
wineserver -k 2>/dev/null || true
wineserver -w

wine "$dir/uninstall.exe" /S
wineserver -w
check "the uninstaller removes the program's folder" test ! -e "$dir"
check "the shortcut" test ! -e "$link"
check "and the Apps and features entry" sh -c '! wine reg query "$0" >/dev/null 2>&1' "$key"
[ $fails -eq 0 ] && { echo "all passed"; exit 0; }
echo "$fails failed"
exit 1
