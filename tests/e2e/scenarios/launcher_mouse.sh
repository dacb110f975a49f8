# Holding the left button and pressing the right shows the launcher window at the mouse, with the first
# Program cell under it, also near the screen's edge (the window pulled back, the held button not taken for
# a press outside); a left press outside hides it. With MouseFlag 0 the combination does nothing while the
# hot key still works.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
write_ini "$ini" "$(program_items 3)"

# A plain window under the mouse: the combination's right click lands in it.
start_program "$(taskwin green)" --title Target --at 300 200
wait_window VanTaskWindow Target 10000 || fail "the target window did not appear"
start_resident

chord() { xdotool mousemove "$1" "$2" mousedown 1 sleep 0.3 click 3 sleep 0.3 mouseup 1; }
# A left press outside that lasts over a poll of the buttons: the resident core hides a mouse-shown window.
press_outside() { xdotool mousemove 100 100 mousedown 1 sleep 0.3 mouseup 1; }

chord 400 300
wait_launcher shown 3000 || fail "holding the left button and pressing the right did not show the launcher window"
screenshot mouse-shown
read -r left top _ _ _ <<<"$(launcher_info)"
label=$(label_height) || fail "cannot measure the caption font"
# The centre of the first Program cell: 8 + 2 + 20 across, the caption and two gaps plus 2 + 20 down.
expect_eq "$left,$top" "$((400 - 30)),$((300 - (label + 4 + 22)))" "launcher window position at the mouse"

press_outside
wait_launcher hidden 3000 || fail "a left press outside did not hide the launcher window"

# At the right edge the window is pulled back 16 pixels and the mouse follows the first cell; the button
# still held from the combination must not count as a press outside the shifted window.
chord 1015 300
wait_launcher shown 3000 || fail "the mouse combination at the right edge did not show the launcher window"
sleep 0.5
read -r left top _ _ visible <<<"$(launcher_info)"
expect_eq "$visible" 1 "the launcher window shown at the right edge is still up"
expect_eq "$left" "$((1024 - 16 - 298))" "launcher window pulled back from the right edge"
press_outside
wait_launcher hidden 3000 || fail "a left press outside did not hide the launcher window"

# The left button held alone shows nothing.
xdotool mousemove 400 300 mousedown 1 sleep 0.5 mouseup 1
sleep 0.5
wait_launcher hidden 100 || fail "the left button alone showed the launcher window"

exit_via_tray_menu "$pid"

# MouseFlag 0: no mouse trigger at all.
write_ini "$ini" "[Option]
MouseFlag=0
$(program_items 3)"
start_resident "after the restart"
chord 400 300
sleep 1
[ "$(launcher_info | awk '{ print $5 }')" = 1 ] && fail "the mouse combination showed the launcher window with MouseFlag 0"
mouse_move 400 300
hot_key
wait_launcher shown 3000 || fail "the hot key did not work with MouseFlag 0"
read -r left top _ _ _ <<<"$(launcher_info)"
expect_eq "$left" "$(((1024 - 298) / 2))" "with MouseFlag 0 the hot key's window is centred"
hot_key
wait_launcher hidden 3000 || fail "the second press did not hide the launcher window"
exit_via_tray_menu "$pid"
