# "Registering Icons" from a left click on the tray icon, driven with the real mouse: dragging the first
# Program item onto the third cell reorders the tray while the button is held; Cancel after such a drag leaves
# the settings file byte for byte, OK writes the new order. The dialog then opens and closes fifty times with an
# edit each time, and the program's GDI and USER objects stay as many as after the first round. A screen reader reads the
# grid in the dragged order and hears the cursor move.
# e2e-limit: 600
source "$(dirname "$E2E_SCENARIO")/registration_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
write_ini "$ini" "[Option]
ColMax=7
[Program]
$(writer_item 0 Alpha a 0)
$(writer_item 1 Bravo b 0)
$(writer_item 2 Charlie c 0)
$(writer_item 3 Delta d 0)"
start_resident

open_registration
screenshot registration-open
expect_eq "$(control 3 "$REG" 1101)" "" "name panel frame text"
expect_eq "$(control 8 "$REG" 1104)" 4 "Number of columns line for ColMax 7 (3 is the first line)"

# Cancel after a drag: the file stays as it was.
cp "$ini" "$E2E_DIR/before.ini"
drag_cell 0 2
wait_name Alpha 3000 || fail "the dragged item is not the one named ($(control 3 "$REG" 1102))"
screenshot registration-dragged
# A screen reader reads the grid in its new order, the cursor on the dragged item; Right moves the focus on.
tree=$(access tree VantrelRegistrationGrid 5000) || fail "the Program grid has no accessible client object"
echo "$tree" >"$E2E_DIR/tree.txt"
has_record "$tree" list Program list 4
has_record "$tree" item Program Bravo "list item" "1 of 4"
has_record "$tree" item Program Alpha "list item" "3 of 4"
has_record "$tree" focus Program Alpha
watch_focus VantrelRegistrationGrid "$E2E_DIR/focus.txt" 1
key Right
focus_events "$E2E_DIR/focus.txt"
expect_eq "$events" "$(printf 'Delta\t4 of 4')" "the focus event of Right"
click_button IDCANCEL
wait_dialog_gone "$REG" 5000 || fail "Cancel did not close the dialog"
sleep 0.5
cmp -s "$ini" "$E2E_DIR/before.ini" || fail "Cancel after a drag changed the settings file"

# A drag, the hot key (the launcher comes, the dialog hides), Escape, the tray icon brings the dialog back:
# Cancel still undoes the drag, so that the next OK writes the order of the opening.
open_registration
drag_cell 0 2
show_launcher "over the registration dialog"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher"
open_registration
click_button IDCANCEL
wait_dialog_gone "$REG" 5000 || fail "Cancel did not close the dialog after a hide"
open_registration
click_button IDOK
wait_dialog_gone "$REG" 5000 || fail "OK did not close the dialog"
expect_eq "$(program_titles "$ini")" "Alpha|Bravo|Charlie|Delta" "Program order after a hidden drag, Cancel and OK"

# The same drag, then OK: the new order is written.
open_registration
drag_cell 0 2
click_button IDOK
wait_dialog_gone "$REG" 5000 || fail "OK did not close the dialog"
wait_ini_value "$ini" Program Title0 Bravo 5000 || fail "OK did not write the new order ($(program_titles "$ini"))"
expect_eq "$(program_titles "$ini")" "Bravo|Charlie|Alpha|Delta" "Program order after the drag and OK"

# Fifty rounds of open, edit (a drag), Cancel: nothing of the dialog's stays behind. The program's GDI objects
# (regions, the window system's passing update regions, left out) and its windows after the fiftieth round are
# what they were after the first.
round() {
    open_registration
    drag_cell 1 3
    key Escape
    wait_dialog_gone "$REG" 5000 || fail "Escape did not close the dialog (round $1)"
    sleep 0.3
}
objects() { probe gui-objects vantrel.exe || fail "cannot count the program's objects"; }
round 1
first=$(objects)
for i in $(seq 2 "${REGISTRATION_ROUNDS:-50}"); do
    round "$i"
    [ -n "${REGISTRATION_TRACE:-}" ] && note "round $i: $(probe gui-objects vantrel.exe types | tr '\n' ' ')"
done
last=$(objects)
note "objects after the first round: $first; after the last: $last"
echo "first: $first | last: $last" >"$E2E_DIR/gui-objects.txt"
expect_eq "$last" "$first" "the program's GDI and USER objects after fifty rounds"
expect_eq "$(program_titles "$ini")" "Bravo|Charlie|Alpha|Delta" "Program order after fifty cancelled rounds"
