# The hot key shows the launcher window centred, exactly as large as its trays need, and hides it on the
# second press; Escape, a click elsewhere and the close command hide it too, and each time the next press
# shows it again.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
write_ini "$ini" "[Option]
ColMax=5
$(program_items 7)"

start_vantrel
wait_tray_icon shown 10000 || fail "vantrel's icon does not show"
mouse_move 900 100

hot_key
wait_launcher shown 5000 || fail "the hot key did not show the launcher window"
screenshot hotkey-shown
read -r left top right bottom _ <<<"$(launcher_info)"
label=$(label_height) || fail "cannot measure the caption font"
[ -n "$label" ] || fail "cannot measure the caption font"
system=$(shown_count "$ini" System)
note "caption height $label, System items shown $system"
# 7 Program items in 5 columns: two rows; no task window open: one empty row.
height=$(launcher_height "$label" "$(tray_height 7 5)" "$(tray_height 0 5)" "$(tray_height "$system" 5)")
expect_eq "$((right - left))x$((bottom - top))" "218x$height" "launcher window size with ColMax 5"
expect_eq "$left,$top" "$(((1024 - 218) / 2)),$(((768 - height) / 2))" "launcher window position (centred)"
expect_eq "$(probe foreground | cut -f2)" TVanMainForm "foreground window after the hot key"

hot_key
wait_launcher hidden 3000 || fail "the second press of the hot key did not hide the launcher window"

hot_key
wait_launcher shown 3000 || fail "the third press did not show the launcher window"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher window"

hot_key
wait_launcher shown 3000 || fail "the hot key after Escape did not show the launcher window"
click 100 100
wait_launcher hidden 3000 || fail "a click elsewhere did not hide the launcher window"

hot_key
wait_launcher shown 3000 || fail "the hot key after a click elsewhere did not show the launcher window"
key alt+F4
wait_launcher hidden 3000 || fail "the close command did not hide the launcher window"
expect_eq "$(count_windows TVanMainForm)" 1 "launcher windows after the close command"
hot_key
wait_launcher shown 3000 || fail "the hot key after the close command did not show the launcher window"
hot_key
wait_launcher hidden 3000 || fail "the hot key did not hide the launcher window at the end"
