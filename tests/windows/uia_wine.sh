#!/usr/bin/env bash
# What a Windows screen reader finds in the program through UI Automation,
# read with uiaread.cpp under Wine 10 or later (docs/windows.md), after the
# checks are shown to fail on trees with a fault planted in them:
#   uia_wine.sh QuorvathItemlist.exe     (QI_UIA_KEEP=PREFIX keeps each tree as PREFIX-NAME)
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/setup.sh"
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
# Under Wine 8 a UI Automation client deadlocks the program.
major=$(wine --version 2>/dev/null | sed -n 's/^wine-\([0-9]*\).*/\1/p')
if [ "${major:-0}" -lt 10 ]; then
    echo "warning: the UI Automation test needs Wine 10 or later (found: ${major:-no Wine}); skipped" >&2
    exit 0
fi
# The prefix given, or one made once in the cache.
qi_wine_prefix "${WINEPREFIX:-}"

# lib.sh's start_app starts "$QI_APP": a function, so that it takes arguments.
wine_app() { exec wine "$exe"; }
QI_APP=wine_app
# The intro's caption, which names the version, as the build wrote it.
export QI_INTRO_CAPTION=${QI_INTRO_CAPTION:-$(cat "$(dirname "$exe")/intro-caption.txt")}
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
trap 'e2e_cleanup; wineserver -k 2>/dev/null || true' EXIT
x86_64-w64-mingw32-g++ -std=c++20 -O1 -static -municode -o "$E2E_TMP/uiaread.exe" \
    "$(dirname "${BASH_SOURCE[0]}")/uiaread.cpp" -luiautomationcore -loleaut32 -lole32
start_display


# --- Reading the tree: read NAME saves uiaread's lines as NAME; `seen NAME`
# gives them as "TYPE|NAME|focus=0|1", indented by depth.
read_tree() {
    local begun=$SECONDS
    timeout 120 wine "$E2E_TMP/uiaread.exe" QuorvathItemlist.exe 2>/dev/null | tr -d '\r' >"$E2E_TMP/$1" || true
    echo "(read '$1': $(wc -l <"$E2E_TMP/$1") elements in $((SECONDS - begun)) s)"
    [ -n "${QI_UIA_KEEP:-}" ] && cp "$E2E_TMP/$1" "$QI_UIA_KEEP-$1"
    return 0
}
seen() { sed 's/|labeledby=.*//' "$E2E_TMP/$1"; }
# has TREE "TYPE|NAME|focus=F": an element so, at any depth.
has() { seen "$1" | sed 's/^ *//' | grep -qxF "$2"; }
# children TREE "TYPE|NAME": the direct children of the first element so, as
# "TYPE|NAME|focus=F".
children() {
    seen "$1" | awk -v want="$2" '
        { match($0, /^ */); depth = RLENGTH; line = substr($0, depth + 1) }
        parent >= 0 && depth <= parent { exit }
        parent >= 0 && depth == parent + 2 { print line }
        parent < 0 && index(line, want "|") == 1 { parent = depth }
        BEGIN { parent = -1 }'
}
names() { cut -d'|' -f2 | paste -sd'|'; }
# The element after the first one named TEXT, at the same depth: a caption's value.
after() { seen "$1" | sed 's/^ *//' | grep -A1 -xF -e "Text|$2|focus=0" | sed -n 2p; }
# Until the tree holds the line, or 10 s.
wait_tree() {
    local _
    for _ in 1 2 3 4 5; do read_tree "$1"; has "$1" "$2" && return 0; sleep 1; done
    return 1
}

intro_checks() {
    check "the intro is a window named by its caption" has "$1" "Window|$INTRO|focus=1"
    check "the intro's picture is named" \
        has "$1" "Image|A torch-lit dungeon wall with an arched doorway, the name Quorvath above it|focus=0"
    check "Okay is a button with the keyboard focus" has "$1" "Button|Okay|focus=1"
}
focus_checks() {   # focus_checks TREE ENTRY: ENTRY is the one entry with the focus
    check "'$2' is the list entry with the keyboard focus" \
        [ "$(children "$1" "Tree|Armor items" | grep '^TreeItem|.*|focus=1$')" = "TreeItem|$2|focus=1" ]
}
item_checks() {   # item_checks TREE ENTRY: and its item is shown
    focus_checks "$@"
    check "the value after 'Item Name:' is '$2'" [ "$(after "$1" "Item Name:")" = "Text|$2|focus=0" ]
}

# --- The checks fail where they should: the same checks on trees with one
# fault planted each must fail.
planted() {   # planted WHAT TREE SED CHECKS...: CHECKS on TREE changed by SED fail
    sed "$3" "$E2E_TMP/$2" >"$E2E_TMP/planted"
    local fails
    fails=$(E2E_FAILS=0; "$4" planted "${@:5}" >/dev/null; echo "$E2E_FAILS")
    check "a planted fault fails the checks: $1 ($fails failed)" [ "$fails" -gt 0 ]
}

started=$SECONDS
start_app
intro=$(wait_window "$INTRO" 600) || { fail "the intro window shows"; finish; }
wait_tree intro "Button|Okay|focus=1" || true
echo "-- the intro, as UI Automation gives it:"; cat "$E2E_TMP/intro"
planted "Okay without a name" intro 's/Button|Okay|/Button||/' intro_checks
planted "Okay without the focus" intro 's/Button|Okay|focus=1/Button|Okay|focus=0/' intro_checks
intro_checks intro

send_keys "$intro" Return || fail "Enter on the intro"
main=$(wait_window "$MAIN" 300) || { fail "Enter on Okay opens the main window"; finish; }
wait_tree main "Tab|Categories|focus=1" || true
echo "-- the main window:"; cat "$E2E_TMP/main"
tabs=$(children main "Tab|Categories" | names)
check "'Categories' is a tab list of the eleven tabs in order (got: $tabs)" [ "$tabs" = "$CATEGORIES" ]
check "they are tab items" [ "$(children main "Tab|Categories" | grep -c '^TabItem|')" = 11 ]
check "the menu bar holds File, Search and Help (got: $(children main "MenuBar|" | names))" \
    [ "$(children main "MenuBar|" | names)" = "File|Search|Help" ]
status=$(children main "StatusBar|")
check "the status bar shows Status, the date and the time" \
    [ "$(sed -n 1p <<<"$status")" = "Text|Status|focus=0" -a "$(wc -l <<<"$status")" = 3 ]

send_keys "$main" Tab || fail "Tab into the list"
wait_tree tab "Tree|Armor items|focus=1" || true
entry=$(children tab "Tree|Armor items" | grep '^TreeItem|.*|focus=1$' | cut -d'|' -f2 || true)
focus_checks tab "${entry:-no entry}"
send_keys "$main" Down || fail "Down in the list"
next=$(children tab "Tree|Armor items" | grep -A1 -xF "TreeItem|$entry|focus=1" \
       | sed -n '2s/^TreeItem|\(.*\)|focus=0$/\1/p')
wait_tree down "TreeItem|${next:-no next entry}|focus=1" || true
item_checks down "${next:-no next entry}"
planted "the value without a name" down "/Text|Item Name:|/{n;s/^\( *\)Text|[^|]*|/\1Text||/}" \
    item_checks "$next"
echo "-- the item shown:"; grep -A12 'Group|Information' "$E2E_TMP/down"
for caption in "${FIELDS[@]}"; do
    value=$(after down "$caption")
    check "'$caption' is a caption with a value after it (got: ${value:-nothing})" \
        sh -c '[ -n "$1" ] && [ "$1" != "Text||focus=0" ] && [ "${1#Text|}" != "$1" ]' - "$value"
done
# LabeledBy: each value names its caption, where the provider gives it.
labels=$(grep -A1 -F "|Item Name:|" "$E2E_TMP/down" | sed -n '2s/.*|labeledby=\([^|]*\)|.*/\1/p')
case $labels in
    "Item Name:") for caption in "${FIELDS[@]}"; do
                      check "the value after '$caption' is labeled by it" \
                          grep -A1 -F "|$caption|" "$E2E_TMP/down" | grep -qF "|labeledby=$caption|"
                  done ;;
    !*) echo "not checked: LabeledBy from each value to its caption: the program's Qt gives UI Automation no" \
             "LabeledBy (its provider has no such property; the caption is the value's buddy, which AT-SPI" \
             "reports), and Wine answers ${labels#!} for it" ;;
    *)  fail "the value after 'Item Name:' is labeled by it (got: ${labels:-nothing})" ;;
esac
if grep -q '|value=!80004001|' "$E2E_TMP/down"; then
    echo "not checked: the Value pattern's text: Wine answers E_NOTIMPL (80004001) for pattern properties"
fi

# --- A terminology window (Help > Terminology > Item Name) and About, by
# keyboard: F10 opens the File menu, Left the Help menu at its first entry.
side() {   # side NAME TITLE KEYS...: opens the window, reads it as NAME
    send_keys "$main" --delay 300 F10 "${@:3}" || fail "F10 and the Help menu's keys for '$2'"
    wait_window "$2" 100 >/dev/null || { fail "the Help menu opens '$2'"; return 0; }
    wait_tree "$1" "Window|$2|focus=1" || true
    echo "-- $2:"; awk -v top="Window|$2|" '/^Window\|/ { on = index($0, top) == 1 } on' "$E2E_TMP/$1"
}
# text_check TREE BOX TEXT: the box's text (the Value pattern's) holds TEXT.
text_check() {
    local value
    value=$(grep -m1 "^ *Edit|$2|" "$E2E_TMP/$1" | sed -n 's/.*|value=\([^|]*\)|id=.*/\1/p')
    case $value in
        !80004001) echo "not checked: the text of '$2' ('$3...'): Wine answers E_NOTIMPL (80004001)" \
                        "for the Value pattern's text" ;;
        *) check "the text of '$2' holds '$3' (got: ${value:0:80})" grep -qF -- "$3" <<<"$value" ;;
    esac
}
side terms "Item Name" Left Right Return
check "the terminology window is named by its title" has terms "Window|Item Name|focus=1"
check "its text is a read-only box named 'Information', with the focus" has terms "Edit|Information|focus=1"
text_check terms Information "The Item Name is simply the name of the item that you have selected"
send_keys "$(window_named "Item Name")" alt+F4 || fail "Alt+F4 on the terminology window"
wait_gone "Item Name" || fail "Alt+F4 closes the terminology window"

side about "$ABOUT" Left Down Return
check "About is a window named by its title" has about "Window|About This Program|focus=1"
check "its text is a read-only box named 'About Quorvath Itemlist'" \
    has about "Edit|About Quorvath Itemlist|focus=0"
text_check about "About Quorvath Itemlist" "By Anselm Vorrick and Teo Baskel"
check "Okay is a button with the keyboard focus" has about "Button|Okay|focus=1"
check "Sign The Petition Now! is a button" grep -q "^ *Button|Sign The Petition Now!|" "$E2E_TMP/about"
send_keys "$(window_named "$ABOUT")" Return || fail "Enter on About's Okay"
wait_gone "$ABOUT" || fail "Okay closes About"

# --- The quit question.
send_keys "$main" alt+F4 || fail "Alt+F4 on the main window"
wait_tree quit "Button|Yes|focus=1" || true
echo "-- the quit question:"; awk '/^Window\|/ && n++ { exit } { print }' "$E2E_TMP/quit"
check "the quit question asks 'Are you sure you want to quit?'" \
    grep -q "^ *Text|Are you sure you want to quit?|" "$E2E_TMP/quit"
check "Yes is a button with the keyboard focus" has quit "Button|Yes|focus=1"
check "No is a button" has quit "Button|No|focus=0"
question=$(quit_question "$main")
[ -n "$question" ] && key "$question" Return
app_exit_code 100
check "Yes ends the program with exit code 0 (got $APP_EXIT)" [ "$APP_EXIT" = 0 ]
echo "UI Automation session: $((SECONDS - started)) s"
finish
