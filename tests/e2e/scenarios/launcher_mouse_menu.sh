# A launcher shown by the mouse combination stays up under its own popup menu: a press on the part of the
# menu that lies outside the launcher, held over several polls of the buttons, chooses the entry, and the
# command runs ("&Run as administrator" of the last Program cell of the first row, whose menu reaches past the
# launcher's right edge). A left press outside, with no menu open, still hides the launcher.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
out="$E2E_DIR/args.txt"
program() {
    local i
    echo "[Program]"
    for ((i = 0; i < 6; i++)); do writer_item "$i" "Item $i" "item-$i" 0; done
    writer_item 6 Last last 0
}
write_ini "$ini" "[Option]
ColMax=7
$(program)"

# A plain window under the mouse: the combination's right click lands in it.
start_program "$(taskwin green)" --title Target --at 200 200
wait_window VanTaskWindow Target 10000 || fail "the target window did not appear"
VANTREL_ARGWRITER_OUT=$(winpath "$out") start_resident

chord() { xdotool mousemove "$1" "$2" mousedown 1 sleep 0.3 click 3 sleep 0.3 mouseup 1; }
chord 300 300
wait_launcher shown 3000 || fail "the mouse combination did not show the launcher window"
sleep 0.3
read -r left top right _ _ <<<"$(launcher_info)"
label=$(label_height) || fail "cannot measure the caption font"

# The last cell of the first Program row (ColMax 7: cell 6), right-clicked in its middle.
click $((left + 8 + 2 + 6 * 40 + 20)) $((top + label + 4 + 2 + 20)) 3
wait_window '#32768' 3000 || fail "the right click on the last cell of the row opened no menu"
screenshot menu-open
index=$(menu_index '&Run as administrator') || fail "the Program item's menu offers no '&Run as administrator'"
y=$(menu_item_y "$index")
read -r menu_left _ menu_right _ <<<"$(menu_rect)"
[ "$menu_right" -gt $((right + 10)) ] || fail "the menu ($menu_left..$menu_right) does not reach past the launcher's right edge ($right)"
x=$(((right + menu_right) / 2))
note "launcher $left..$right, menu $menu_left..$menu_right, pressing ($x, $y)"

# Held for 0.4 s: the buttons are polled every 100 ms while the menu is open.
xdotool mousemove "$x" "$y" sleep 0.2 mousedown 1 sleep 0.4 mouseup 1
got=$(writer_args "$out" 5000) || { screenshot after-press; fail "'&Run as administrator' chosen outside the launcher ran nothing"; }
expect_eq "$got" last "the item run from the menu"
wait_launcher hidden 3000 || fail "the launcher window stayed up after the menu command ran"

# Without a menu, a press outside a mouse-shown launcher hides it.
chord 300 300
wait_launcher shown 3000 || fail "the second mouse combination did not show the launcher window"
sleep 0.3
xdotool mousemove 900 600 mousedown 1 sleep 0.3 mouseup 1
wait_launcher hidden 3000 || fail "a left press outside did not hide the launcher window"
[ ! -e "$out" ] || fail "the press outside ran an item"
exit_via_tray_menu "$pid"
