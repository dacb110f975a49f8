# The environment dialogs from the tray menu with real keys: an environment is added (its file created on OK with
# the default options), becomes current with its own hot key, is renamed, the first one is chosen again, and the
# added one is deleted (its file removed on OK). Cancel after edits leaves every file byte for byte.
# e2e-limit: 120 (environments added, switched and deleted through several dialogs)
source "$(dirname "$E2E_SCENARIO")/dialog_helpers.bash"

folder=$(settings_dir)
ini="$folder/vantrel.ini"
# The first environment calls the launcher with Ctrl+Alt+K.
write_ini "$ini" "[Option]
VkKey=75"
start_resident
title='Environment selection'

lines() { probe list-lines '#32770' "$title" 1061 | tr -d '\r' | paste -sd '|'; }

# Add "Work": Alt+A opens "Add Environment" with the name selected, typing replaces it, Enter is its OK.
open_dialog 'Select &Environment...' "$title"
expect_eq "$(lines)" "Environment1" "environments at first"
key alt+a
wait_window '#32770' 'Add Environment' 5000 || fail "Alt+A did not open the settings dialog"
expect_eq "$(control 3 'Add Environment' 1066)" "Environment2" "proposed name"
xdotool type --delay 60 Work
key Return
wait_dialog_gone 'Add Environment' 5000 || fail "the settings dialog stayed after its OK"
expect_eq "$(lines)" "Environment1|Work" "environments after adding"
[ -f "$folder/vantrel2.ini" ] && fail "the new environment's file exists before OK"
key Return
wait_dialog_gone "$title" 5000 || fail "OK did not close the selection"
wait_ini_value "$ini" Option IniNo 2 5000 || fail "the new environment did not become current"
expect_eq "$(ini_value "$ini" Option IniMax)" 2 "IniMax after adding"
expect_eq "$(ini_value "$ini" Option IniName2)" Work "name of the new environment"
expect_eq "$(ini_value "$ini" Option IniOrder2)" 2 "file of the new environment"
expect_eq "$(ini_value "$folder/vantrel2.ini" Option VkKey)" 74 "the new file's hot key (the default)"
[ -n "$(ini_items "$folder/vantrel2.ini" System)" ] || fail "the new file has no System items"

# Its own hot key: Ctrl+Alt+J now, not Ctrl+Alt+K.
mouse_move 900 100
xdotool key ctrl+alt+j
wait_launcher shown 5000 || fail "Ctrl+Alt+J did not show the launcher in the new environment"
xdotool key ctrl+alt+j
wait_launcher hidden 3000 || fail "Ctrl+Alt+J did not hide the launcher"
xdotool key ctrl+alt+k
wait_launcher shown 2000 && fail "the first environment's Ctrl+Alt+K still works in the new one"

# Rename it through "&Change" (the current, selected line), shown in the tray menu under its new name.
open_dialog 'Select &Environment...' "$title"
expect_eq "$(control 8 "$title" 1061)" 1 "selected line: the current environment"
key alt+c
wait_window '#32770' 'Environment settings' 5000 || fail "Alt+C did not open the settings dialog"
xdotool type --delay 60 Home
key Return
wait_dialog_gone 'Environment settings' 5000 || fail "the settings dialog stayed after its OK"
key Return
wait_ini_value "$ini" Option IniName2 Home 5000 || fail "the new name was not written"
right_click_tray_icon || fail "no tray menu"
menu_index 'Home(&2)' >/dev/null || fail "the tray menu does not offer the renamed environment: $(menu_items)"
choose_menu_item 'Home(&2)'

# Back to the first environment, chosen in the list with the mouse: its Ctrl+Alt+K works again.
open_dialog 'Select &Environment...' "$title"
read -r l t r b <<<"$(control 4 "$title" 1061 | tr ',' ' ')"
click $((l + 20)) $((t + 8))
wait_control 8 "$title" 1061 0 3000 || fail "the click did not select the first environment"
key Return
wait_ini_value "$ini" Option IniNo 1 5000 || fail "the first environment did not become current"
mouse_move 900 100
xdotool key ctrl+alt+k
wait_launcher shown 5000 || fail "Ctrl+Alt+K did not come back with the first environment"
xdotool key ctrl+alt+k
wait_launcher hidden 3000 || fail "Ctrl+Alt+K did not hide the launcher"

# Cancel after an add and a delete: nothing changes on the disk.
cp "$ini" "$E2E_DIR/before-cancel.ini"
cp "$folder/vantrel2.ini" "$E2E_DIR/before-cancel-2.ini"
open_dialog 'Select &Environment...' "$title"
key alt+a
wait_window '#32770' 'Add Environment' 5000 || fail "Alt+A did not open the settings dialog"
key Return
wait_dialog_gone 'Add Environment' 5000 || fail "the settings dialog stayed after its OK"
# The added line is selected; Up reaches "Home".
key Up alt+d
expect_eq "$(lines)" "Environment1|Environment3" "environments after an add and a delete"
key Escape
wait_dialog_gone "$title" 5000 || fail "Escape did not close the selection"
sleep 0.5
cmp -s "$ini" "$E2E_DIR/before-cancel.ini" || fail "Cancel changed vantrel.ini"
cmp -s "$folder/vantrel2.ini" "$E2E_DIR/before-cancel-2.ini" || fail "Cancel changed vantrel2.ini"
[ -f "$folder/vantrel3.ini" ] && fail "Cancel created vantrel3.ini"

# Delete "Home": its file goes on OK.
open_dialog 'Select &Environment...' "$title"
key Down alt+d
expect_eq "$(lines)" "Environment1" "environments after deleting"
[ -f "$folder/vantrel2.ini" ] || fail "the file went before OK"
key Return
wait_ini_value "$ini" Option IniMax 1 5000 || fail "the deletion was not written"
waited=0
while [ -f "$folder/vantrel2.ini" ]; do
    [ "$waited" -ge 3000 ] && fail "the deleted environment's file is still there"
    sleep 0.1
    waited=$((waited + 100))
done
