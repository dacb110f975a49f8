# The control-key layout works like the cursor keys (Ctrl+X down, Ctrl+D right, Ctrl+E up, Ctrl+M runs,
# Ctrl+J hides), and Ctrl+Q reads the one next key in quick mode: D and S go to the end and the start of
# the row, C and R change the tray by two steps. A show ends by running the item under the cursor, which
# tells where the cursor went, or with the cursor frame found by its colour.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
out="$E2E_DIR/args.txt"
# Three columns: the Program tray has the rows p0 p1 p2 and p3 p4. The cursor frame is drawn in
# BackColor, which appears nowhere else (no task numbers with number keys on).
write_ini "$ini" "[Option]
ColMax=3
FrameFlag=0
BackColor=16711935
KeyNumberFlag=1
[Program]
$(for i in 0 1 2 3 4; do writer_item "$i" "P$i" "p$i" 0; done)"
# A task window, so that the Task tray holds an item.
start_program "$(taskwin green)" --title B --at 120 120
wait_window VanTaskWindow B 10000 || fail "task window B did not appear"
VANTREL_ARGWRITER_OUT=$(winpath "$out") start_vantrel
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show"

# Quick D goes to the row's end; the S after it is a plain key again (no item carries S), where a quick
# mode that lasted would take it to the row's start.
keys_run "$out" p2 ctrl+q d s ctrl+m
# Quick S goes to the row's start, not one cell left.
keys_run "$out" p0 Right Right ctrl+q s Return
# Quick C moves two trays down (past the Task tray into the System tray); quick R two trays up, back into
# the Program tray's first row in the column left by Right, where plain PageUp would land in the last row.
keys_run "$out" p1 Down Right ctrl+q c ctrl+q r Return
keys_run "$out" p1 ctrl+x ctrl+d ctrl+e ctrl+m

# Quick R from the Program tray moves two trays up, past the System tray into the Task tray: the whole
# cursor frame is in the Task box. Ctrl+J then hides the window without running anything.
show_launcher "before Ctrl+Q R"
read -r left top right bottom _ <<<"$(launcher_info)"
label=$(label_height) || fail "cannot measure the caption font"
task_top=$((top + label + 4 + $(tray_height 5 3) + label + 4))
key ctrl+q r
sleep 0.3
screenshot quick-r
frame_pixels() { probe find-color FF00FF 8 "$1" "$2" "$3" "$4"; }
in_task=$(frame_pixels "$left" $((task_top - 2)) "$right" $((task_top + 44)))
in_window=$(frame_pixels "$left" "$top" "$right" "$bottom")
note "after Ctrl+Q R: $in_task frame pixels in the Task box, $in_window in the window"
[ "$in_task" -ge 280 ] || fail "after Ctrl+Q R the cursor frame is not in the Task tray ($in_task pixels)"
expect_eq "$in_window" "$in_task" "frame pixels outside the Task tray after Ctrl+Q R"
key ctrl+j
wait_launcher hidden 3000 || fail "Ctrl+J did not hide the launcher window"
sleep 0.5
[ ! -e "$out" ] || fail "Ctrl+J ran '$(writer_args "$out" 0)'"
exit_via_tray_menu "$pid"
