# Run as administrator from the real launcher window: Alt+Enter, Alt+click and the popup menu's "&Run as
# administrator" start the item (under Wine the "runas" verb simply runs the program; which verb the window
# asks for is checked by the Windows test of the window and its handlers), and the window hides. "&All
# minimize" from a Program item's menu runs nothing, closes no window and hides the launcher.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
out="$E2E_DIR/args.txt"
write_ini "$ini" "[Option]
ColMax=7
[Program]
$(writer_item 0 First first 0)
$(writer_item 1 Second second 0)
$(writer_item 2 Third third 0)"
open_task_windows "green Other 120"
VANTREL_ARGWRITER_OUT=$(winpath "$out") start_resident

# expect_run EXPECTED WHAT: the writer ran with EXPECTED and the launcher hid.
expect_run() {
    local got
    got=$(writer_args "$out" 10000) || { screenshot "nothing-$2"; fail "$2 ran nothing"; }
    expect_eq "$got" "$1" "item run by $2"
    wait_launcher hidden 3000 || fail "the launcher window stayed up after $2"
}
cell() { # cell INDEX: the middle of that Program cell
    read -r left top _ _ _ <<<"$(launcher_info)"
    echo $((left + 8 + 2 + 40 * $1 + 20)) $((top + label + 4 + 2 + 20))
}
label=$(label_height) || fail "cannot measure the caption font"

show_launcher "for Alt+Enter"
key alt+Return
expect_run first "Alt+Enter"

show_launcher "for Alt+click"
read -r x y <<<"$(cell 1)"
xdotool mousemove "$x" "$y" sleep 0.2 keydown alt sleep 0.1 click 1 sleep 0.1 keyup alt
expect_run second "Alt+click"

show_launcher "for the menu"
read -r x y <<<"$(cell 2)"
click "$x" "$y" 3
wait_window '#32768' 3000 || fail "the right click opened no menu"
choose_menu_item '&Run as administrator'
expect_run third "the menu's '&Run as administrator'"

show_launcher "for All minimize"
read -r x y <<<"$(cell 0)"
click "$x" "$y" 3
wait_window '#32768' 3000 || fail "the right click opened no menu for All minimize"
index=$(menu_index '&All minimize ') || fail "the Program item's menu offers no '&All minimize '"
click_menu_item "$index"
wait_launcher hidden 3000 || fail "the launcher window stayed up after '&All minimize '"
sleep 0.5
[ ! -e "$out" ] || fail "'&All minimize ' ran an item"
wait_window VanTaskWindow Other 1000 || fail "'&All minimize ' closed the task window"
# Wine's taskbar answers the minimise-all command by opening its Start menu; a click on the desktop closes it.
click 700 400
wait_gone '#32768' 3000 || fail "a menu stayed open after '&All minimize '"
exit_via_tray_menu "$pid"
