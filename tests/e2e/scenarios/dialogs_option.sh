# The option dialog from the tray menu, driven with its own controls and real keys: the hot key becomes
# Ctrl+Alt+K (stored as VkKey 75; Ctrl+Alt+K shows the launcher, Ctrl+Alt+J no longer does); Cancel after edits
# leaves the settings file byte for byte; automatic start on and off through the Run value; the colour dialog opens.
source "$(dirname "$E2E_SCENARIO")/dialog_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
start_resident

right_click_tray_icon || fail "no tray menu"
items=$(menu_items) || fail "cannot read the tray menu"
for caption in '&Setting...' 'Select &Environment...' '&About...' '&Help'; do
    expect_eq "$(awk -F'\t' -v c="$caption" '$3 == c { print $2 }' <<<"$items")" normal "state of $caption"
done
# Keys reach a popup menu when the desktop has the X focus and the pointer is over the menu.
read -r left top right bottom <<<"$(menu_rect)"
mouse_move $(((left + right) / 2)) $((top + 4))
focus_desktop
key Escape
wait_gone '#32768' 3000 || fail "the tray menu stayed open"

# Ctrl+Alt+K: Alt+K reaches the key list (the mnemonic of its group), "k" selects K, Enter is OK.
open_dialog '&Setting...' Setting
expect_eq "$(control 3 Setting 1002)" "Ctrl + Alt + J" "key label at first"
key alt+k k
wait_control 3 Setting 1002 "Ctrl + Alt + K" 3000 || fail "the key list did not take K ($(control 3 Setting 1002))"
screenshot setting-key-k
key Return
wait_dialog_gone Setting 5000 || fail "OK did not close the dialog"
wait_ini_value "$ini" Option VkKey 75 5000 || fail "VkKey is not 75 after OK ($(ini_value "$ini" Option VkKey))"
expect_eq "$(ini_value "$ini" Option VkMod)" 3 "VkMod after OK"
mouse_move 900 100
xdotool key ctrl+alt+k
wait_launcher shown 5000 || fail "Ctrl+Alt+K did not show the launcher"
xdotool key ctrl+alt+k
wait_launcher hidden 3000 || fail "Ctrl+Alt+K did not hide the launcher"
xdotool key ctrl+alt+j
wait_launcher shown 2000 && fail "Ctrl+Alt+J still shows the launcher"

# Cancel after edits on every page: the file stays byte for byte, no Run value appears.
cp "$ini" "$E2E_DIR/before-cancel.ini"
open_dialog '&Setting...' Setting
key alt+s ctrl+Tab alt+e ctrl+Tab alt+s alt+c
wait_control 7 Setting 1050 1 3000 || fail "Alt+S on the Other page did not check the automatic start"
expect_eq "$(control 7 Setting 1020)" 0 "Enable mouse after Alt+E"
screenshot setting-edited
key Escape
wait_dialog_gone Setting 5000 || fail "Escape did not close the dialog"
sleep 0.5
cmp -s "$ini" "$E2E_DIR/before-cancel.ini" || fail "Cancel changed the settings file"
[ -z "$(autorun_value)" ] || fail "Cancel wrote the Run value"

# Automatic start on, then off. The dialog comes back on the page it was closed on.
open_dialog '&Setting...' Setting
expect_eq "$(sheet_page Setting)" Other "page on top when opened again"
expect_eq "$(control 8 Setting 1001)" 10 "key list selection when opened again (K)"
expect_eq "$(control 7 Setting 1020)" 1 "Enable mouse when opened again after Cancel"
key alt+s Return
wait_dialog_gone Setting 5000 || fail "OK did not close the dialog"
expect_eq "$(autorun_value)" "\"$(winpath "$E2E_BIN/vantrel.exe")\"" "Run value after switching automatic start on"
open_dialog '&Setting...' Setting
goto_page Setting Other
wait_control 7 Setting 1050 1 3000 || fail "the automatic-start box does not show the Run value"
key alt+s Return
wait_dialog_gone Setting 5000 || fail "OK did not close the dialog"
[ -z "$(autorun_value)" ] || fail "the Run value stayed after switching automatic start off"

# The colour buttons open the system's colour dialog (its library is loaded at this first use); Escape there closes
# only that dialog.
open_dialog '&Setting...' Setting
goto_page Setting Other
key alt+t
wait_window '#32770' Color 5000 || fail "Alt+T did not open the colour dialog"
key Escape
wait_dialog_gone Color 3000 || fail "Escape did not close the colour dialog"
expect_eq "$(sheet_page Setting)" Other "page under the colour dialog"
key Escape
wait_dialog_gone Setting 5000 || fail "Escape did not close the dialog"
