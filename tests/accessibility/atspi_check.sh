#!/usr/bin/env bash
# The program as a screen reader meets it over AT-SPI (docs/accessibility.md):
# each window's role and name, only shown windows listed, every control named,
# the tabs selectable, the details and the side windows' texts readable.
source "$(dirname "$0")/../e2e/lib.sh"
start_display
use_a11y


all_named() { local out; out=$(a11y unnamed "$1"); [ -z "$out" ] || { echo "$out"; return 1; }; }
exists() { a11y find "$@" >/dev/null; }

start_app
intro=$(wait_window "$INTRO") || { fail "intro window"; finish; }
wait_a11y 10 || { fail "the program is on the accessibility bus"; finish; }
# The main window is built ahead, hidden, 60 ms after the intro has painted:
# it is no window a user can meet yet.
sleep 1
check "while the intro is up, it is the one window listed (got '$(a11y toplevels | paste -sd ' ')')" \
    [ "$(a11y toplevels)" = "frame|$INTRO" ]
check "every control of the intro has a name" all_named "$INTRO"
check "the intro's picture is named by what it shows" exists "$INTRO" image \
    "A torch-lit dungeon wall with an arched doorway, the name Quorvath above it"
# Unnamed objects print empty lines: count the lines. The intro is a frame itself.
lines_in() { { a11y names "$1" separator; a11y names "$1" frame; } | grep -cvxF "$1"; }
check "the intro's line is no object of its own (got $(lines_in "$INTRO"))" [ "$(lines_in "$INTRO")" = 0 ]
check "the intro's Okay is no default button" not has_state "$INTRO" "push button" Okay default
activate "$intro"
key "$intro" Return
wait_window "$MAIN" >/dev/null || { fail "main window"; finish; }
check "every control of the main window has a name" all_named "$MAIN"

# --- The category tabs ------------------------------------------------------------
check "the tabs are one page tab list" exists "$MAIN" "page tab list" Categories
check "eleven page tabs carry the captions in order" \
    [ "$(a11y names "$MAIN" "page tab" | paste -sd '|')" = "$CATEGORIES" ]
check "Armor is reported selected" has_state "$MAIN" "page tab" Armor selected
check "the Press action selects Rings" a11y action "$MAIN" "page tab" Rings Press
check "Rings is then reported selected" wait_for 20 has_state "$MAIN" "page tab" Rings selected
check "and Armor no longer" not has_state "$MAIN" "page tab" Armor selected
check "and the Rings list is filled (8 entries)" [ "$(a11y rows "$MAIN" tree "Rings items" | wc -l)" = 8 ]
# Keyboard: the focus follows the selection along the strip.
click_object "$MAIN" "page tab" Armor
main=$(window_named "$MAIN")
key "$main" Right
check "Right moves selection and focus to Figurines" \
    wait_for 20 has_state "$MAIN" "page tab" Figurines selected focused

# --- The details: each value labelled by its caption, named by what it shows -------
for field in "${FIELDS[@]}"; do
    check "a value is labelled by '$field'" a11y value "$MAIN" "$field"
done
click_object "$MAIN" "page tab" Armor
click_object "$MAIN" "table cell" "Chain Armor"
check "the value labelled 'Item Name:' reads the clicked item" \
    wait_for 20 value_is "$MAIN" "Item Name:" "Chain Armor"

# --- The side windows' texts ---------------------------------------------------------
activate "$main"
menu Help "About Quorvath Itemlist"
wait_window "$ABOUT" 40 >/dev/null || fail "About window"
check "every control of the About window has a name" all_named "$ABOUT"
check "the About picture is named by what it shows" exists "$ABOUT" image \
    "A hooded mage beside a wall torch, playing small tricks"
check "the About window's two lines are no objects of their own (got $(lines_in "$ABOUT"))" \
    [ "$(lines_in "$ABOUT")" = 0 ]
check "the About window's Okay is no default button" not has_state "$ABOUT" "push button" Okay default
check "the About text is readable" \
    [ "$(text_of "$ABOUT" | head -n 2 | paste -sd '|')" = "Quorvath|Itemlist for Windows" ]
activate "$main"
menu Help Terminology "Activated Effects"
wait_window "Activated Effects..." 40 >/dev/null || fail "Activated Effects window"
check "every control of a terminology window has a name" all_named "Activated Effects..."
check "its text is readable" grep -q "^Several items require that you manually activate them" \
    <<<"$(a11y text "Activated Effects..." text)"

# --- Every window: its role and its caption as name ----------------------------------
expected=("frame|$MAIN")
for row in "${SIDE_WINDOWS[@]}"; do
    IFS='|' read -r path caption _ <<<"$row"
    expected+=("dialog|$caption")
    has_window "$caption" && continue
    help_menu "$main" "$path" && wait_window "$caption" 40 >/dev/null || fail "Help/$path opens '$caption'"
done
listed=$(a11y toplevels | sort)
for row in "${expected[@]}"; do
    check "a top-level '${row#*|}' with role ${row%%|*}" grep -qxF "$row" <<<"$listed"
done
check "and no other top-level (got $(wc -l <<<"$listed"))" [ "$(wc -l <<<"$listed")" = "${#expected[@]}" ]
finish
