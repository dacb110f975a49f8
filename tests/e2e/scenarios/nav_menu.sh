# The popup menu opens from the keyboard at the cursor cell and from a right click at the mouse, offers the
# entries of a Program item, closes without running anything on Escape, and leaves the launcher up; a left
# click on a cell runs that item and hides the window.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
writer="$E2E_BUILD/fixtures/argwriter/argwriter.exe"
[ -f "$writer" ] || fail "no argwriter fixture at $writer"
writer_win=$(winpath "$writer")
out="$E2E_DIR/args.txt"
write_ini "$ini" "[Option]
ColMax=10
[Program]
Title0=Notepad
ExeFileName0=C:\\windows\\notepad.exe
IconFileName0=C:\\windows\\notepad.exe
IconIndex0=0
Status0=0
Title1=Writer
ExeFileName1=$writer_win
IconFileName1=$writer_win
IconIndex1=0
ArgumentName1=clicked
Status1=0"
VANTREL_ARGWRITER_OUT=$(winpath "$out") start_vantrel
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show"
show_launcher
read -r left top _ _ _ <<<"$(launcher_info)"
label=$(label_height) || fail "cannot measure the caption font"

# expect_item_menu WHAT: the open menu offers elevation and, for a Program item, no task commands.
expect_item_menu() {
    local items
    items=$(menu_items) || fail "$1: no popup menu opened"
    note "$1: $(tr '\t\n' ' |' <<<"$items")"
    grep -q $'\t&Run as administrator$' <<<"$items" || fail "$1: the menu offers no '&Run as administrator'"
    if grep -q $'\t&Close$' <<<"$items"; then fail "$1: a Program item's menu offers '&Close'"; fi
    key Escape
    wait_gone '#32768' 3000 || fail "$1: Escape did not close the menu"
    sleep 0.3
    wait_launcher shown 1000 || fail "$1: the launcher went away with the menu"
    [ ! -e "$out" ] || fail "$1: closing the menu ran an item"
}

key Menu
expect_item_menu "menu key"

# A right click on cell 1 opens its menu at the mouse.
cx=$((left + 8 + 2 + 40 + 20))
cy=$((top + label + 4 + 2 + 20))
click "$cx" "$cy" 3
expect_item_menu "right click"

# A left click runs the clicked item.
click "$cx" "$cy" 1
wait_file "$out" 10000 || fail "a left click on the writer's cell did not start it"
wait_launcher hidden 3000 || fail "the launcher window stayed up after the click ran an item"
expect_eq "$(sed -n 's/^arg=//p' "$out" | tr -d '\r')" "clicked" "arguments of the clicked item"
exit_via_tray_menu "$pid"
