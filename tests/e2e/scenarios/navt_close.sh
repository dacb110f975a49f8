# Delete closes the task window under the cursor: its program ends, the launcher stays up in front and its
# Task tray loses that cell (two columns here, so three windows take two rows and two windows one); the cursor
# keeps its place, and Backspace there closes the window before it. Shift+Delete then asks every task
# window to close; a window whose program no longer answers stays, without holding up the others or the
# launcher, which still comes and goes with the hot key and Escape.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

write_ini "$(settings_dir)/vantrel.ini" "[Option]
ColMax=2"
open_task_windows "blue C 60" "green B 120" "red A 180"
start_resident
mouse_move 900 100
label=$(label_height) || fail "cannot measure the caption font"

# show_launcher WHAT: the hot key shows the window; sets left, top and height.
show_launcher() {
    hot_key
    wait_launcher shown 5000 || fail "the hot key did not show the launcher window ($1)"
    sleep 0.3
    local right bottom
    read -r left top right bottom _ <<<"$(launcher_info)"
    height=$((bottom - top))
}
# task_cell N: the colour of Task cell N's icon (no Program items: that tray is one empty row).
task_cell() { pixel_at $((left + 35 + 40 * ($1 % 2))) $((top + 2 * label + 42 + 8 + 27 + 40 * ($1 / 2))); }

# Stacking order A, B, C: the Task tray holds B, C, A, and the cursor starts on B (the Program tray is empty).
show_launcher "three windows"
three=$height
for expected in "0 20B020 B" "1 2040E0 C" "2 E02020 A"; do
    read -r cell rgb title <<<"$expected"
    colour_near "$(task_cell "$cell")" "$rgb" 40 || fail "Task cell $cell shows $(task_cell "$cell"), expected window $title"
done
key Right Delete
program_exited "${task_pid[C]}" 5000 || fail "Delete on the cell of window C did not end its program"
sleep 0.5
screenshot after-delete
wait_launcher shown 1000 || fail "the launcher went away when Delete closed a task window"
expect_eq "$(foreground_title)" vantrel "the foreground window after Delete"
read -r left top right bottom _ <<<"$(launcher_info)"
expect_eq $((three - (bottom - top))) 40 "the launcher's loss of height with one Task row less"
colour_near "$(task_cell 0)" 20B020 40 || fail "after Delete Task cell 0 shows $(task_cell 0), expected window B"
colour_near "$(task_cell 1)" E02020 40 || fail "after Delete Task cell 1 shows $(task_cell 1), expected window A"
for title in A B; do
    kill -0 "${task_pid[$title]}" 2>/dev/null || fail "Delete on window C also ended window $title"
done
# The cursor kept its place, which now holds A; Backspace closes the window before it.
key BackSpace
program_exited "${task_pid[B]}" 5000 || fail "Backspace on the cell of window A did not end window B before it"
kill -0 "${task_pid[A]}" 2>/dev/null || fail "Backspace ended window A instead of the window before it"
sleep 0.5
wait_launcher shown 1000 || fail "the launcher went away after Backspace"
colour_near "$(task_cell 0)" E02020 40 || fail "after Backspace Task cell 0 shows $(task_cell 0), expected window A"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher window"

# A program that stops answering joins A; whichever of the two is asked first, A must close.
start_program "$(taskwin red)" --title Hung --at 300 200 --hang-after 0
task_pid[Hung]=$E2E_LAST_PID
wait_window VanTaskWindow Hung 10000 || fail "the hung window did not appear"
sleep 0.5
# A window whose thread reads no more input also keeps every key, the hot key included, to itself while it
# has the keyboard focus under Wine; a click on A's caption takes the focus away first.
click 240 192
wait_foreground A 3000 || fail "a click on its caption did not activate window A"
show_launcher "with a hung window"
key shift+Delete
program_exited "${task_pid[A]}" 5000 || fail "Shift+Delete did not end the program of window A"
wait_launcher hidden 3000 || fail "the launcher stayed up after Shift+Delete"
kill -0 "${task_pid[Hung]}" 2>/dev/null || fail "the hung program ended: nothing here tests a window that does not answer"

# The launcher still answers, and lists the one window left.
start=$(date +%s%N)
show_launcher "after Shift+Delete"
note "shown again $((($(date +%s%N) - start) / 1000000)) ms after the hot key"
screenshot after-close-all
expect_eq $((three - height)) 40 "the launcher's height with only the hung window left"
colour_near "$(task_cell 0)" E02020 40 || fail "Task cell 0 shows $(task_cell 0), expected the hung window"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher window after Shift+Delete"

kill -9 "${task_pid[Hung]}" 2>/dev/null
program_exited "${task_pid[Hung]}" 5000 || fail "the hung program could not be ended"
