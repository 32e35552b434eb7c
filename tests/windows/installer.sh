#!/usr/bin/env bash
# The installer in a fresh view of the Wine prefix (docs/windows.md), and
# that neither setup nor its uninstaller reports success for work not done:
#   installer.sh BUILD_DIR      (WINEPREFIX_BASE: the prepared prefix)
set -euo pipefail
build=$(cd "$1" && pwd)
# The intro's caption, which names the version, as the build wrote it.
export QI_INTRO_CAPTION=${QI_INTRO_CAPTION:-$(cat "$build/intro-caption.txt")}
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wineprefix.sh"
setup=$(ls "$build"/quorvath-itemlist-*-setup.exe)
WINEPREFIX=$(prefix_view "${WINEPREFIX_BASE:?}")
export WINEPREFIX
# Ending the prefix's Wine ends the installed program too.
trap 'prefix_drop "$WINEPREFIX"; e2e_cleanup' EXIT
program=

c=$WINEPREFIX/drive_c
dir="$c/Program Files/Quorvath Itemlist"
apps=$c/Apps/Quorvath
link="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvath Itemlist.lnk"
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuorvathItemlist'
# A value of the uninstall entry. Under load `wine reg` now and then answers
# nothing at all; a value that is there shows on the next try.
value() {
    local try got
    for try in 1 2 3; do
        got=$(wine reg query "$entry" /v "$1" 2>/dev/null | tr -d '\r' \
              | awk -v n="$1" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }')
        [ -n "$got" ] && break
        sleep 1
    done
    printf '%s\n' "$got"
}
registered() { wine reg query "$entry" >/dev/null 2>&1; }
windows_version() { wine reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1; wineserver -w; }

# A display from the start, without a window manager (tools/xkeys.sh sets
# the focus itself): Wine's desktop process, started with the first program,
# keeps the display it found for the programs after it.
start_x 1024x768

# Runs a step and checks its exit code: step WHAT EXPECTED COMMAND...
step() {
    local what=$1 expected=$2 code=0
    shift 2
    "$@" || code=$?
    [ "$1" = wine ] && [ -z "$program" ] && wineserver -w
    check "$what exits with $expected (got $code)" [ "$code" = "$expected" ]
}
# The installed program, started and left running; stopped by its id.
start_program() {
    wine "$1" &
    program=$!
    check "the installed program starts on its intro window ($1)" wait_for 600 has_window "$INTRO"
}
stop_program() { kill "$program"; wait "$program" 2>/dev/null || true; program=; }
# Setup's window by its caption ("...Setup: PAGE"; its message boxes have
# none), waited for up to 30 s: its id, or nothing.
setup_window() {
    local caption="Quorvath Itemlist 1.0.1 Setup$1"
    wait_for 300 has_window "$caption" && window_named "$caption"
    return 0
}
# A mark in the installed read-me: setup has not copied if it is still there.
mark() { echo "before this setup" >"$1/README.txt"; }
copied() { cmp -s "$build/README.txt" "$1/README.txt"; }

# --- Older Windows: setup says what it needs and installs nothing.
for version in win7 win81; do
    windows_version $version
    step "setup /S on $version" 2 wine "$setup" /S
    check "and installs nothing" sh -c '! test -e "$0" && ! wine reg query "$1" >/dev/null 2>&1' "$dir" "$entry"
done

# --- A first install, silently, into Program Files, on Windows 11; all that
# follows on Windows 10.
windows_version win11
step "setup /S on win11" 0 wine "$setup" /S
check "the program is installed into Program Files" \
    cmp -s "$build/QuorvathItemlist.exe" "$dir/QuorvathItemlist.exe"
check "with its read-me and uninstaller" test -f "$dir/README.txt" -a -f "$dir/uninstall.exe"
check "a Start menu shortcut for all users" test -f "$link"
check "Apps and features names it (got '$(value DisplayName)')" [ "$(value DisplayName)" = "Quorvath Itemlist" ]
check "with version 1.0.1 (got '$(value DisplayVersion)')" [ "$(value DisplayVersion)" = 1.0.1 ]
check "its publisher (got '$(value Publisher)')" [ "$(value Publisher)" = "Emberlight Hollow Software" ]
check "its icon" sh -c 'echo "$0" | grep -q "QuorvathItemlist.exe,0$"' "$(value DisplayIcon)"
check "and a silent uninstall" sh -c 'echo "$0" | grep -q "uninstall.exe\" /S$"' "$(value QuietUninstallString)"
kb=$(( ($(stat -c %s "$dir"/{QuorvathItemlist.exe,README.txt,uninstall.exe} | paste -sd+)) / 1024 ))
size=$(( $(value EstimatedSize) ))
check "its size is the folder's, uninstaller included ($kb KB, got $size)" \
    [ $size -ge $((kb - 2)) -a $size -le $((kb + 1)) ]
check "setup's version resource has the product version" sh -c \
    'x86_64-w64-mingw32-windres -i "$0" -O rc | grep -qF "VALUE \"ProductVersion\", \"1.0.1\""' "$setup"
windows_version win10

# --- Over the running program: silently it stops with an exit code; asked,
# Cancel stops and Retry goes on once the program is closed.
start_program "C:\\Program Files\\Quorvath Itemlist\\QuorvathItemlist.exe"
mark "$dir"
step "setup /S while the program runs" 2 wine "$setup" /S
check "and copies nothing" not copied "$dir"
for answer in Escape Return; do
    wine "$setup" &
    interactive=$!
    folder=$(setup_window ": Installation Folder")
    [ -n "$folder" ] && key "$folder" Return   # Install
    box=$(setup_window "")
    check "setup asks to close the running program" [ -n "$box" ]
    [ $answer = Return ] && stop_program
    [ -n "$box" ] && key "$box" $answer   # Cancel, or Retry
    if [ $answer = Return ]; then
        done=$(setup_window ": Completed")
        [ -n "$done" ] && key "$done" Return   # Close
        check "Retry after closing the program finishes the install" [ -n "$done" ]
    fi
    timeout 60 tail --pid=$interactive -f /dev/null || kill $interactive
    code=0
    wait $interactive || code=$?
    if [ $answer = Escape ]; then
        check "Cancel ends setup with exit code 1 (got $code)" [ $code = 1 ]
        check "and copies nothing" not copied "$dir"
    else
        check "with exit code 0 (got $code)" [ $code = 0 ]
        check "and copies the files" copied "$dir"
    fi
done
[ -n "$program" ] && stop_program

# --- An update goes where the program is, also without /D.
step "the uninstaller /S" 0 wine "$dir/uninstall.exe" /S
step "setup /S /D=C:\\Apps\\Quorvath" 0 wine "$setup" /S '/D=C:\Apps\Quorvath'
mark "$apps"
step "a later setup /S" 0 wine "$setup" /S
check "updates the program in its folder" copied "$apps"
check "and puts no second copy into Program Files" test ! -e "$dir"
location=$(value InstallLocation)
check "the entry still points at it (got '$location')" [ "$location" = 'C:\Apps\Quorvath' ]

# --- Uninstall while the program runs (in place, _?=, so that its exit code
# is the uninstaller's own): refused, and everything stays.
start_program 'C:\Apps\Quorvath\QuorvathItemlist.exe'
step "the uninstaller /S while the program runs" 2 wine "$apps/uninstall.exe" /S '_?=C:\Apps\Quorvath'
check "leaves the program and its shortcut" sh -c 'test -f "$0/QuorvathItemlist.exe" -a -f "$1"' "$apps" "$link"
check "and its entry" registered
stop_program

step "the uninstaller /S" 0 wine "$apps/uninstall.exe" /S
check "the uninstaller removes the program's folder" test ! -e "$apps"
check "the shortcut" test ! -e "$link"
check "and the Apps and features entry" not registered

# --- A file that cannot be written (here a folder in the way): a first
# install stops with an exit code, takes back what it wrote and registers nothing.
rm -rf "$dir"
mkdir -p "$dir/README.txt"
step "setup /S that cannot write a file" 2 wine "$setup" /S
check "leaves no program and no uninstaller" test ! -e "$dir/QuorvathItemlist.exe" -a ! -e "$dir/uninstall.exe"
check "no shortcut" test ! -e "$link"
check "and no entry" not registered

finish
