#!/usr/bin/env bash
# The side windows from the Help menu, and quitting while one is open.
source "$(dirname "$0")/lib.sh"
start_display
use_a11y

stand_in_opener
start_at_main
wait_a11y 10 || { fail "the program is on the accessibility bus"; finish; }

for row in "${SIDE_WINDOWS[@]}"; do
    IFS='|' read -r path caption size <<<"$row"
    help_menu "$main" "$path" || { fail "menu Help/$path"; continue; }
    win=$(wait_window "$caption" 40) || { fail "Help/$path opens '$caption'"; continue; }
    read -r w h _ _ < <(client_geometry "$win")
    check "'$caption' client is ${size/ / x } (got $w x $h)" [ "$w $h" = "$size" ]
    check "'$caption' has a fixed size" fixed_size "$win"
    check "'$caption' cannot be maximized" not allows "$win" MAXIMIZE
    # Chosen again from the main window: the same window comes to the front.
    help_menu "$main" "$path" || { fail "menu Help/$path again"; continue; }
    check "choosing it again raises '$caption'" wait_for 20 on_top "$win"
    check "and leaves one '$caption' window (got $(window_count "$caption"))" [ "$(window_count "$caption")" = 1 ]
done
check "all ten side windows are open beside the main window" has_window "$MAIN"

# --- Typed text lives only as long as its window ------------------------------
listed="The Item Name is simply the name of the item that you have selected."
win=$(window_named "Item Name")
activate "$win"
type_text "$win" "scribbled " || fail "typing into Item Name"
typed() { text_of "Item Name" | grep -q scribbled; }
check "typing changes the Item Name text" wait_for 20 typed
key "$win" alt+F4
check "Alt+F4 closes the Item Name window" wait_gone "Item Name"
help_menu "$main" "Terminology/Item Name"
wait_window "Item Name" 40 >/dev/null || fail "Item Name reopens"
check "reopened, it shows the listed text" [ "$(text_of "Item Name")" = "$listed" ]

# --- The About window animates: Image1 (24, 8) px, 88 x 88 --------------------
about=$(window_named "$ABOUT")
activate "$about"
shot "$about" 24 8 88 88 "$E2E_TMP/frame0.png"
animates() {
    local i
    for ((i = 1; i <= 12; i++)); do
        sleep 0.25
        shot "$about" 24 8 88 88 "$E2E_TMP/frame$i.png"
        same_image "$E2E_TMP/frame0.png" "$E2E_TMP/frame$i.png" || return 0
    done
    return 1
}
check "the About picture changes within 3 seconds" animates

# --- No window gets lost when minimised -----------------------------------------
xdotool windowminimize "$about"
wait_for 30 minimized "$about" || fail "the About window minimises"
help_menu "$main" "About Quorvath Itemlist"
check "choosing About again restores the minimised window" wait_for 30 not minimized "$about"
xdotool windowminimize "$about"
wait_for 30 minimized "$about" || fail "the About window minimises again"

# --- Quit: No keeps, Yes closes the main window only ----------------------------
activate "$main"
menu File Quit
check "Quit asks the question" wait_for 30 windows_named "$MAIN" 2
click_object "*" "push button" "No"
check "No keeps the main window" wait_for 30 windows_named "$MAIN" 1
activate "$main"
menu File Quit
wait_for 30 windows_named "$MAIN" 2 || fail "the question again"
click_object "*" "push button" "Yes"
check "Yes closes the main window" wait_gone "$MAIN"
check "the About window stays open" has_window "$ABOUT"
check "and is no longer minimised, with the main window gone" wait_for 30 not minimized "$about"
xdotool windowminimize "$about"
check "minimised now, it comes straight back" wait_for 30 not minimized "$about"
app_exit_code 10
check "and keeps the program running" [ "$APP_EXIT" = running ]
check "the About window still animates" animates
# Closing every side window ends the program.
for row in "${SIDE_WINDOWS[@]}"; do
    IFS='|' read -r _ caption _ <<<"$row"
    win=$(window_named "$caption")
    [ -n "$win" ] || continue
    activate "$win"
    key "$win" alt+F4
    wait_gone "$caption" || fail "'$caption' closes"
done
app_exit_code 50; code=$APP_EXIT
check "closing the last side window ends the program with 0 (got $code)" [ "$code" = 0 ]
check_quiet
finish
