# The cursor is drawn on the start tray's first cell and nowhere else: with FrameType 0 as a 2-pixel frame
# in BackColor, with FrameType 1 as a raised button edge. The second screenshot is the one in the README.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
# Magenta appears nowhere else in the window: no direct keys, no task numbers (no other windows).
write_ini "$ini" "[Option]
FrameFlag=0
BackColor=16711935
$(program_items 10)"
start_resident
show_launcher
screenshot frame-box
read -r left top right bottom _ <<<"$(launcher_info)"
label=$(label_height) || fail "cannot measure the caption font"
# Cell 0 of the Program tray: the box at (8, label + 4), the cell 2 pixels inside it.
cx=$((left + 10))
cy=$((top + label + 6))
in_cell=$(probe find-color FF00FF 8 $((cx - 2)) $((cy - 2)) $((cx + 42)) $((cy + 42)))
in_window=$(probe find-color FF00FF 8 "$left" "$top" "$right" "$bottom")
note "BackColor pixels: $in_cell around cell 0, $in_window in the window (caption height $label)"
# A 39-pixel square drawn with a 2-pixel pen: some 300 pixels of frame.
[ "$in_cell" -ge 280 ] || fail "the box cursor of cell 0 has only $in_cell pixels in BackColor"
expect_eq "$in_window" "$in_cell" "BackColor pixels outside the cursor cell"
hot_key
wait_launcher hidden 3000 || fail "the hot key did not hide the launcher window"
exit_via_tray_menu "$pid"

# FrameType 1, with other windows in the Task tray for a fuller picture.
write_ini "$ini" "$(program_items 10)"
for window in "blue Documents 60" "green Calculator 120" "red Editor 180"; do
    read -r colour title at <<<"$window"
    start_program "$(taskwin "$colour")" --title "$title" --at "$at" "$at"
    wait_window VanTaskWindow "$title" 10000 || fail "window $title did not appear"
done
start_resident "after the restart"
show_launcher
screenshot frame-button
read -r left top right bottom _ <<<"$(launcher_info)"
import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$E2E_DIR/launcher-window.png"
bx=$((left + 8))
by=$((top + label + 4))
# The tray's own sunken frame shows the two system colours the button edge is drawn in.
shadow=$(pixel_at $((bx + 100)) "$by")
highlight=$(pixel_at $((bx + 281)) $((by + 20)))
face=$(pixel_at $((left + 4)) $((top + 4)))
note "shadow $shadow, highlight $highlight, face $face"
[ "$shadow" != "$highlight" ] || fail "cannot tell the shadow and highlight colours apart"
# Cell 0 (the cursor): highlight along the top and left, shadow along the bottom and right.
expect_eq "$(pixel_at $((bx + 2 + 20)) $((by + 2)))" "$highlight" "top edge of the cursor cell"
expect_eq "$(pixel_at $((bx + 2)) $((by + 2 + 20)))" "$highlight" "left edge of the cursor cell"
expect_eq "$(pixel_at $((bx + 2 + 20)) $((by + 2 + 37)))" "$shadow" "bottom edge of the cursor cell"
expect_eq "$(pixel_at $((bx + 2 + 37)) $((by + 2 + 20)))" "$shadow" "right edge of the cursor cell"
# Cell 1 has no edge.
expect_eq "$(pixel_at $((bx + 42 + 20)) $((by + 2)))" "$face" "top edge of cell 1"
expect_eq "$(pixel_at $((bx + 42 + 37)) $((by + 2 + 20)))" "$face" "right edge of cell 1"
hot_key
wait_launcher hidden 3000 || fail "the hot key did not hide the launcher window"
exit_via_tray_menu "$pid"
