# "Registering Icons" from a left click on the tray icon, driven with the real mouse: dragging the first
# Program item onto the third cell reorders the tray while the button is held; Cancel after such a drag leaves
# the settings file byte for byte, OK writes the new order. The dialog then opens and closes fifty times with an
# edit each time, and the program's GDI and USER object counts stay where they were after the first round.
# e2e-limit: 480
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
click_button IDCANCEL
wait_dialog_gone "$REG" 5000 || fail "Cancel did not close the dialog"
sleep 0.5
cmp -s "$ini" "$E2E_DIR/before.ini" || fail "Cancel after a drag changed the settings file"

# The same drag, then OK: the new order is written.
open_registration
drag_cell 0 2
click_button IDOK
wait_dialog_gone "$REG" 5000 || fail "OK did not close the dialog"
wait_ini_value "$ini" Program Title0 Bravo 5000 || fail "OK did not write the new order ($(program_titles "$ini"))"
expect_eq "$(program_titles "$ini")" "Bravo|Charlie|Alpha|Delta" "Program order after the drag and OK"

# Fifty rounds of open, edit (a drag), Cancel: nothing of the dialog's stays behind.
round() {
    open_registration
    drag_cell 1 3
    key Escape
    wait_dialog_gone "$REG" 5000 || fail "Escape did not close the dialog (round $1)"
}
round 1
first=$(probe program-windows vantrel.exe) || fail "cannot count the program's windows"
for i in $(seq 2 "${REGISTRATION_ROUNDS:-50}"); do
    round "$i"
done
last=$(probe program-windows vantrel.exe)
note "windows after the first round: $first; after fifty: $last"
echo "program-windows first=$first last=$last" >"$E2E_DIR/gui-resources.txt"
expect_eq "$last" "$first" "the program's windows after fifty rounds"
expect_eq "$(program_titles "$ini")" "Bravo|Charlie|Alpha|Delta" "Program order after fifty cancelled rounds"
