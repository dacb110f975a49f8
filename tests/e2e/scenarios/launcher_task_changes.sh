# The Task tray follows what other programs did to their windows between two shows: one window renamed, one
# hidden, one turned into a tool window. The launcher comes up with the first cell and the name panel (as a screen
# reader reads them) on the renamed window, and the other two are gone from the tray and its pixels.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

write_ini "$(settings_dir)/vantrel.ini" "[Option]
KeyCursorFlag=1"
open_task_windows "blue C 60" "green B 120" "red A 180"
start_resident

task_names() { access tree TVanMainForm 5000 | awk -F'\t' '$1 == "item" && $2 == "Task" { print $3 }' | paste -sd ,; }
show_launcher "the first time"
expect_eq "$(task_names)" "B,C,A" "the Task tray before the changes"
hot_key
wait_launcher hidden 3000 || fail "the second press did not hide the launcher window"

probe change-window VanTaskWindow A text "A renamed" || fail "cannot rename window A"
probe change-window VanTaskWindow B hide || fail "cannot hide window B"
probe change-window VanTaskWindow C exstyle 0x80 || fail "cannot make window C a tool window"
show_launcher "after the changes"
expect_eq "$(task_names)" "A renamed" "the Task tray after the changes"
expect_eq "$(access tree TVanMainForm 3000 | awk -F'\t' '$1 == "focus" { print $2 "/" $3 }')" "Task/A renamed" \
    "the cursor's cell"

# The tray's first cell shows A's red icon, the second nothing.
read -r left top _ _ _ <<<"$(launcher_info)"
label=$(label_height) || fail "cannot measure the caption font"
task_top=$((top + 2 * label + 42 + 8))
colour_near "$(pixel_at $((left + 29 + 6)) $((task_top + 27)))" E02020 40 || fail "the first Task cell is not A's"
face=$(pixel_at $((left + 4)) $((top + 4)))
expect_eq "$(pixel_at $((left + 29 + 40 + 6)) $((task_top + 27)))" "$face" "the second Task cell (C's before)"
exit_via_tray_menu "$pid"
