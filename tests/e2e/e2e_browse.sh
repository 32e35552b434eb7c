#!/usr/bin/env bash
# Browsing as a user does: pointer clicks on the intro's button, the tabs and
# the list entries, the details read back as a screen reader reads them.
# QI_SCREENSHOT=file.png also saves the main window showing an item.
source "$(dirname "$0")/lib.sh"
start_display
use_a11y

start_app
intro=$(wait_window "$INTRO") || { fail "intro window"; finish; }
wait_a11y 10 || { fail "the program is on the accessibility bus"; finish; }
check "the intro's button is Okay and has the focus" has_state "$INTRO" "push button" Okay focused
click_object "$INTRO" "push button" Okay
main=$(wait_window "$MAIN") || { fail "main window after clicking Okay"; finish; }
check "the intro is gone" wait_gone "$INTRO"

# --- The main window as designed: 481 x 453 below the menu bar, fixed ------
read -r w h x y < <(client_geometry "$main")
read -r _ _ _ menubar < <(a11y find "$MAIN" "menu bar" "")
check "main client is 481 x (453 + menu bar $menubar) (got $w x $h)" [ "$w" = 481 -a "$h" = $((453 + menubar)) ]
check "main window has a fixed size" fixed_size "$main"
check "main window can be minimized" allows "$main" MINIMIZE
check "main window cannot be maximized" not allows "$main" MAXIMIZE

# --- Armor at start: its 23 entries, empty details ---------------------------
mapfile -t armor < <(a11y rows "$MAIN" tree "Armor items")
check "Armor lists 23 entries (got ${#armor[@]})" [ "${#armor[@]}" = 23 ]
check "the first Armor entry is Leather Armor (got '${armor[0]:-}')" [ "${armor[0]:-}" = "Leather Armor" ]
check "Armor is the selected tab" has_state "$MAIN" "page tab" Armor selected
details() { local f; for f in "${FIELDS[@]}"; do a11y value "$MAIN" "$f"; done; }
empty_details() { [ -z "$(details | tr -d '\n')" ]; }
check "the details are empty at start" empty_details

# --- Entries and tabs, clicked with the pointer -------------------------------
# Clicking an entry shows its row: the name label carries the entry's text.
shows_item() { value_is "$MAIN" "Item Name:" "$1"; }
click_object "$MAIN" "table cell" "Chain Armor"
check "clicking Chain Armor shows it" wait_for 20 shows_item "Chain Armor"
chain=$(details)
check "all six fields are filled for Chain Armor" [ "$(echo "$chain" | grep -c .)" = 6 ]
click_object "$MAIN" "table cell" "Leather Armor"
check "clicking Leather Armor shows it" wait_for 20 shows_item "Leather Armor"
check "and its details differ from Chain Armor's" [ "$(details)" != "$chain" ]

for tab in Weapons Rings "Containers/Fluids" Armor; do
    click_object "$MAIN" "page tab" "$tab"
    check "clicking $tab selects it" wait_for 20 has_state "$MAIN" "page tab" "$tab" selected
    check "and empties the details" empty_details
    mapfile -t entries < <(a11y rows "$MAIN" tree "$tab items")
    check "$tab lists entries (got ${#entries[@]})" [ "${#entries[@]}" -gt 0 ]
    click_object "$MAIN" "table cell" "${entries[0]}"
    check "clicking '${entries[0]}' on $tab shows it" wait_for 20 shows_item "${entries[0]}"
done
mapfile -t weapons < <(a11y rows "$MAIN" tree "Weapons items")
check "Weapons, left earlier, still holds its 59 entries (got ${#weapons[@]})" [ "${#weapons[@]}" = 59 ]

if [ -n "${QI_SCREENSHOT:-}" ]; then
    click_object "$MAIN" "table cell" "Chain Armor"
    wait_for 20 shows_item "Chain Armor"
    xdotool mousemove 0 0
    sleep 0.3
    import -window "$main" -frame "$QI_SCREENSHOT" 2>/dev/null || import -window "$main" "$QI_SCREENSHOT"
    echo "screenshot: $QI_SCREENSHOT"
fi
check_quiet
finish
