# With three other windows A (active), B and C open, the Task tray holds B, C, A: the active window moves to
# the end. Under Wine another program's window icon can only be read from its program file, so each window
# comes from a program with an icon of its own colour, and the cells are told apart by their pixels. The
# launcher's own windows, the taskbar and the desktop are not listed: a fourth cell stays empty.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

open_task_windows "blue C 60" "green B 120" "red A 180"
start_resident
expect_eq "$(probe foreground | cut -f3)" A "the active window before the hot key"

show_launcher
screenshot tasks
read -r left top _ _ _ <<<"$(launcher_info)"
label=$(label_height) || fail "cannot measure the caption font"
# No Program items: the Program box is one empty row (42 pixels).
task_top=$((top + 2 * label + 42 + 8))
cell_colour() { pixel_at $((left + 29 + 40 * $1 + 6)) $((task_top + 21 + 6)); }
for expected in "0 20B020 B" "1 2040E0 C" "2 E02020 A"; do
    read -r cell rgb title <<<"$expected"
    got=$(cell_colour "$cell")
    colour_near "$got" "$rgb" 40 || fail "Task cell $cell shows $got, expected the icon of window $title ($rgb)"
done
face=$(pixel_at $((left + 29 + 40 * 3 + 6)) $((task_top + 21 + 6)))
for cell in 0 1 2; do
    [ "$(cell_colour "$cell")" = "$face" ] && fail "Task cell $cell is empty"
done
colour_near "$face" "$(pixel_at $((left + 4)) $((top + 4)))" 0 || fail "Task cell 3 is not empty ($face)"
hot_key
wait_launcher hidden 3000 || fail "the second press did not hide the launcher window"
