#!/usr/bin/env bash
# Legible with whatever fonts the machine has (docs/fonts.md): OCR reads back
# at least 90% of the words each window is known to show.
source "$(dirname "$0")/lib.sh"
start_display
use_a11y

stand_in_opener
start_at_main
wait_a11y 10 || { fail "the program is on the accessibility bus"; finish; }

# legible NAME WINDOW "known words": at least 90% of them read back.
legible() {
    local share
    xdotool mousemove 0 0
    sleep 0.3
    import -window "$2" "$E2E_TMP/shot.png" 2>/dev/null
    share=$(/usr/bin/python3 "$E2E_DIR/ocr_share.py" "$E2E_TMP/shot.png" "$3" 90)
    [ -n "${QI_OCR_SHOTS:-}" ] && echo "$3" > "$QI_OCR_SHOTS-$1.txt"
    check "$1 reads back $share% of its words (at least 90%)" [ "$share" -ge 90 ]
    [ -n "${QI_OCR_SHOTS:-}" ] && cp "$E2E_TMP/shot.png" "$QI_OCR_SHOTS-$1.png"
    return 0
}

# The main window with an item shown: captions, values, tabs, the list.
click_object "$MAIN" "table cell" "Chain Armor"
wait_for 20 value_is "$MAIN" "Item Name:" "Chain Armor" || fail "Chain Armor shown"
known="Information Item Status Armor Figurines Gloves Helms Misc. Items Rings Shields Weapons Instruments
Quivers Containers/Fluids Leather Armor Scale Armor Plate Armor"
for field in "${FIELDS[@]}"; do known+=" $field $(a11y value "$MAIN" "$field")"; done
legible "main window" "$main" "$known"

# A terminology window and About, from the Help menu.
activate "$main"
menu Help Terminology "# Uses" "Limited." || fail "menu Help/Terminology/# Uses/Limited."
win=$(wait_window "Limited..." 40) || fail "Limited... opens"
[ -n "$win" ] && legible "terminology window" "$win" "Information $(a11y text "Limited..." text)"

activate "$main"
menu Help "About Quorvath Itemlist" || fail "menu Help/About"
win=$(wait_window "About This Program" 40) || fail "About opens"
[ -n "$win" ] && legible "About window" "$win" "Sign The Petition Now! Velmarch Okay
$(a11y text "About This Program" text | head -n 9)"
finish
