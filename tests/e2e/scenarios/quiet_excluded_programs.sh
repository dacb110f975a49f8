# Programs vantrel leaves alone. Notepad is picked from the running programs on the option dialog's page
# "Exclusions" and stored; with notepad in front the mouse combination and the hot key do nothing (the
# combination's right click stays notepad's), and notepad receives Ctrl+Alt+J, the first press and the next;
# with another window in front both triggers work again.
# e2e-limit: 120 (the option dialog, a key watch of 15 s and triggers that must show nothing for a while)
source "$(dirname "$E2E_SCENARIO")/dialog_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
write_ini "$ini" "$(program_items 3)"
start_resident
start_program "$(taskwin green)" --title Other --at 600 80
wait_window VanTaskWindow Other 10000 || fail "the other window did not appear"
wine notepad >>"$E2E_DIR/program.log" 2>&1 &
E2E_PIDS+=("$!")
wait_window Notepad 10000 || fail "notepad did not appear"

# The name box's drop-down list offers the programs of the open windows; notepad is picked from it with the
# keyboard (F4 opens the list), Enter takes the line, Enter again adds it, and Enter with the box empty is OK.
open_dialog '&Setting...' Setting
goto_page Setting Exclusions
key alt+f F4
sleep 0.5
lines=$(probe list-lines '#32770' Setting 1176 | tr -d '\r')
note "programs offered: $(paste -sd ' ' <<<"$lines")"
grep -qx 'vantrel.exe' <<<"$lines" && fail "vantrel offers itself to be left alone"
index=$(grep -nx 'notepad.exe' <<<"$lines" | cut -d: -f1)
[ -n "$index" ] || fail "notepad.exe is not among the running programs offered: $lines"
for ((i = 0; i < index; i++)); do key Down; done
key Return
sleep 0.3
key Return
wait_control 3 Setting 1172 "&Programs vantrel leaves alone (1 of 32):" 3000 || fail "Enter did not add the picked program"
expect_eq "$(probe list-lines '#32770' Setting 1173 | tr -d '\r')" notepad.exe "the list after adding"
screenshot exclusions-notepad
key Return
wait_dialog_gone Setting 5000 || fail "Enter with an empty name box did not close the dialog with OK"
wait_ini_value "$ini" Option ExcludeList notepad.exe 5000 || fail "the list was not stored ($(ini_value "$ini" Option ExcludeList))"

# Notepad in front: its thread's keys are watched while the triggers are tried over it.
notepad_rect=$(probe list | awk -F'\t' '$3 == "Notepad" && $6 == 1 { print $5; exit }')
IFS=, read -r nl nt nr nb <<<"$notepad_rect"
click $(((nl + nr) / 2)) $(((nt + nb) / 2))
wait_foreground "$(probe list | awk -F'\t' '$3 == "Notepad" && $6 == 1 { print $4; exit }')" 5000 ||
    fail "notepad did not come to the front"
probe key-log Notepad 15000 >"$E2E_DIR/keys.txt" &
keylog=$!
wait_file "$E2E_DIR/keys.txt" 5000 || fail "the key watch on notepad did not start"
xdotool mousemove $(((nl + nr) / 2)) $(((nt + nb) / 2)) mousedown 1 sleep 0.3 click 3 sleep 0.3 mouseup 1
wait_launcher shown 2000 && fail "the mouse combination over notepad showed the launcher"
# The combination's right click opened notepad's own menu, which vantrel left open.
[ "$(count_windows "#32768")" -ge 1 ] || fail "the combination did not reach notepad as it came (no context menu open)"
key Escape
hot_key
wait_launcher shown 2000 && fail "the hot key over notepad showed the launcher"
hot_key
wait_launcher shown 1500 && fail "the second hot key over notepad showed the launcher"
wait "$keylog"
tr -d '\r' <"$E2E_DIR/keys.txt" >"$E2E_DIR/keys-clean.txt"
note "keys notepad took: $(grep -v hooked "$E2E_DIR/keys-clean.txt" | paste -sd ' ')"
presses=$(grep -c $'^0x4A\tctrl+alt$' "$E2E_DIR/keys-clean.txt")
expect_eq "$presses" 2 "Ctrl+Alt+J presses notepad received"

# Another window in front: both triggers work again.
click 790 160
wait_foreground Other 5000 || fail "the other window did not come to the front"
mouse_move 790 180
hot_key
wait_launcher shown 3000 || fail "the hot key did not show the launcher with another window in front"
hot_key
wait_launcher hidden 3000 || fail "the hot key did not hide the launcher"
xdotool mousemove 790 180 mousedown 1 sleep 0.3 click 3 sleep 0.3 mouseup 1
wait_launcher shown 3000 || fail "the mouse combination did not show the launcher with another window in front"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher"
exit_via_tray_menu "$pid"
