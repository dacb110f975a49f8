# A hot key another program holds: chosen in the option dialog it is saved and reported in a notice that blocks
# nothing, and the mouse still shows the launcher; at the next start the same notice comes without stopping the
# start-up.
source "$(dirname "$E2E_SCENARIO")/dialog_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
start_resident

# Ctrl+Alt+L is held by another program: OK stores it, says so, and nothing is blocked.
probe hold-hotkey 3 0x4C 40000 >"$E2E_DIR/holder.out" &
wait_file "$E2E_DIR/holder.out" 5000 || fail "the other program could not take Ctrl+Alt+L"
open_dialog '&Setting...' Setting
key alt+k l
wait_control 3 Setting 1002 "Ctrl + Alt + L" 3000 || fail "the key list did not take L"
key Return
wait_window '#32770' vantrel 5000 || fail "no notice about the taken combination"
notice=$(control 3 vantrel 1091)
note "notice: $notice"
[[ $notice == *"Ctrl + Alt + L"* ]] || fail "the notice does not name the combination: $notice"
[[ $notice == *"mouse"* ]] || fail "the notice does not say the mouse still works: $notice"
wait_ini_value "$ini" Option VkKey 76 3000 || fail "the taken combination was not saved"
screenshot taken-notice
mouse_chord
wait_launcher shown 5000 || fail "the mouse did not show the launcher while the notice was up"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher"

# Started again while the other program still holds the combination: told at once, start-up goes on.
exit_via_tray_menu "$pid"
start_resident "after the restart"
wait_window '#32770' vantrel 5000 || fail "no notice at start-up about the taken combination"
[[ $(control 3 vantrel 1091) == *"Ctrl + Alt + L"* ]] || fail "the start-up notice does not name the combination"
mouse_chord
wait_launcher shown 5000 || fail "the mouse did not show the launcher after a start with a taken hot key"
