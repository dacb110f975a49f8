# The number keys activate the Task items by position, whatever tray the cursor is on: with three windows
# A (active), B and C the Task tray holds B, C, A, so "3" brings A back even from its minimised state, and
# after each activation the next show lists the windows anew in their new stacking order. A number beyond
# the Task count does nothing and leaves the launcher up.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

# One Program item: the cursor starts on the Program tray, away from the Task items.
write_ini "$(settings_dir)/vantrel.ini" "[Option]
ColMax=10
$(program_items 1)"
open_task_windows "blue C 60" "green B 120" "red A 180"
start_resident
mouse_move 900 100

# A is minimised; under Wine it stays on top of the stacking order and keeps the foreground.
probe post VanTaskWindow 0x112 0xF020 0 >/dev/null || fail "cannot minimise window A"
wait_task_iconic A yes 3000 || fail "window A did not minimise"

# press_number KEY TITLE: shows the launcher, presses the digit; window TITLE must come to the front.
press_number() {
    hot_key
    wait_launcher shown 5000 || fail "the hot key did not show the launcher window (before '$1')"
    sleep 0.3
    key "$1"
    wait_launcher hidden 3000 || fail "the launcher stayed up after '$1'"
    wait_foreground "$2" 3000 || fail "'$1' made '$(foreground_title)' the foreground window, expected $2"
}

press_number 3 A
wait_task_iconic A no 3000 || fail "'3' did not restore the minimised window A"
# Stacking order now A, B, C: the tray holds B, C, A.
press_number 1 B
# B, A, C: the tray holds A, C, B.
press_number 2 C

# C, B, A: three Task items, so "4" and "0" (the tenth) name none.
hot_key
wait_launcher shown 5000 || fail "the hot key did not show the launcher window"
sleep 0.3
key 4 0
sleep 0.5
wait_launcher shown 500 || fail "a number beyond the Task count hid the launcher"
expect_eq "$(foreground_title)" vantrel "the foreground window after numbers beyond the Task count"
for title in A B; do
    expect wait_task_iconic "$title" no 100 -- "a number beyond the Task count minimised window $title"
done
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher window"
expect_eq "$(foreground_title)" C "the foreground window after Escape"
