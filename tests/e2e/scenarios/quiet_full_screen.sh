# Quiet in full-screen programs. A window covering the whole screen, taskbar included, is in front: the mouse
# combination shows nothing within 2 s and its right click is left to that window, while the hot key still shows
# the launcher. With "&Ignore the hot key in full-screen programs" ticked on the option dialog's Other page the
# hot key shows nothing either. With the full-screen window closed both work again.
# e2e-limit: 120 (the option dialog, and triggers that must show nothing for a while)
source "$(dirname "$E2E_SCENARIO")/dialog_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
write_ini "$ini" "$(program_items 3)"
start_resident

chord() { xdotool mousemove 400 300 mousedown 1 sleep 0.3 click 3 sleep 0.3 mouseup 1; }
# full_screen_window up|closed
full_screen_window() {
    if [ "$1" = up ]; then
        start_program "$(taskwin red)" --full-screen --title Game
        wait_window VanTaskWindow Game 10000 || fail "the full-screen window did not appear"
        wait_foreground Game 5000 || fail "the full-screen window did not come to the front"
        read -r rect <<<"$(probe list | awk -F'\t' '$3 == "VanTaskWindow" && $4 == "Game" { print $5; exit }')"
        expect_eq "$rect" "0,0,1024,768" "the full-screen window's rectangle"
    else
        probe post VanTaskWindow 0x10 0 0 >/dev/null # WM_CLOSE
        wait_gone VanTaskWindow 5000 || fail "the full-screen window did not close"
    fi
}

full_screen_window up
chord
wait_launcher shown 2000 && fail "the mouse combination over the full-screen window showed the launcher"
expect_eq "$(foreground_title)" Game "the window in front after the combination"
hot_key
wait_launcher shown 3000 || fail "the hot key did not show the launcher over the full-screen window"
screenshot hot-key-over-full-screen
hot_key
wait_launcher hidden 3000 || fail "the hot key did not hide the launcher"
full_screen_window closed

open_dialog '&Setting...' Setting
goto_page Setting Other
key alt+i
wait_control 7 Setting 1170 1 3000 || fail "Alt+I did not tick the full-screen box"
key Return
wait_dialog_gone Setting 5000 || fail "OK did not close the dialog"
wait_ini_value "$ini" Option FullScreenKeyOffFlag 1 5000 || fail "the full-screen box was not stored"

full_screen_window up
hot_key
wait_launcher shown 2000 && fail "with the box ticked the hot key showed the launcher over the full-screen window"
chord
wait_launcher shown 2000 && fail "the mouse combination showed the launcher over the full-screen window"
full_screen_window closed

chord
wait_launcher shown 3000 || fail "the mouse combination did not show the launcher once the full-screen window was closed"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher"
mouse_move 900 100
hot_key
wait_launcher shown 3000 || fail "the hot key did not show the launcher once the full-screen window was closed"
hot_key
wait_launcher hidden 3000 || fail "the hot key did not hide the launcher"
exit_via_tray_menu "$pid"
