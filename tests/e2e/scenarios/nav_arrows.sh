# The arrow keys move the cursor frame from cell to cell and from tray to tray, and back: the frame (drawn
# in BackColor, which appears nowhere else) is found where the cursor went and nowhere else.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
write_ini "$ini" "[Option]
FrameFlag=0
ColMax=10
BackColor=16711935
$(program_items 10)"
start_resident
show_launcher
read -r left top right bottom _ <<<"$(launcher_info)"
label=$(label_height) || fail "cannot measure the caption font"
bx=$((left + 8))
by=$((top + label + 4))
h0=$(tray_height 10 10)

# frame_pixels X0 Y0 X1 Y1: BackColor pixels in the rectangle.
frame_pixels() { probe find-color FF00FF 8 "$1" "$2" "$3" "$4"; }
# cell_pixels N: around cell N of the Program tray's first row.
cell_pixels() { frame_pixels $((bx + 40 * $1)) $((by)) $((bx + 40 * $1 + 44)) $((by + 44)); }

expect_cursor_on_cell() {
    local cell=$1 what=$2 in_cell in_window
    in_cell=$(cell_pixels "$cell")
    in_window=$(frame_pixels "$left" "$top" "$right" "$bottom")
    note "$what: $in_cell frame pixels around cell $cell, $in_window in the window"
    [ "$in_cell" -ge 280 ] || fail "$what: the cursor frame is not on cell $cell ($in_cell pixels)"
    expect_eq "$in_window" "$in_cell" "$what: frame pixels outside cell $cell"
}

expect_cursor_on_cell 0 "at the show"
key Right
sleep 0.3
screenshot nav-right
expect_cursor_on_cell 1 "after Right"
key Right Right
sleep 0.3
expect_cursor_on_cell 3 "after Right Right"
key Left
sleep 0.3
expect_cursor_on_cell 2 "after Left"

# Down leaves the Program tray: the frame is below it, whole, and the name panel names no Program item.
key Down
sleep 0.3
screenshot nav-down
in_program=$(frame_pixels "$left" "$top" "$right" $((by + h0)))
below=$(frame_pixels "$left" $((by + h0)) "$right" "$bottom")
note "after Down: $in_program frame pixels in the Program tray, $below below it"
expect_eq "$in_program" 0 "frame pixels left in the Program tray after Down"
[ "$below" -ge 280 ] || fail "after Down the cursor frame is not in a lower tray ($below pixels)"

# Up comes back to the Program tray, to the column it left.
key Up
sleep 0.3
screenshot nav-up
expect_cursor_on_cell 2 "after Up"

# Escape hides the window.
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher window"
exit_via_tray_menu "$pid"
