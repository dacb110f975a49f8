# A System item with the keyword "DeskTop" opens the desktop folder from Enter: the launcher hides, no
# message box appears, and vantrel answers the hot key again at once.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
# The hot key shows the cursor in the System tray, on the Desktop item written first.
write_ini "$ini" "[Option]
ColMax=10
KeyCursorFlag=2
[Program]
[System]
Title0=Desktop
ExeFileName0=DeskTop
IconFileName0=DeskTop
IconIndex0=-1
Status0=11"
start_resident
before=$(count_processes explorer.exe)

show_launcher "before Enter"
key Return
wait_launcher hidden 3000 || fail "the launcher window stayed up after running the Desktop item"
# The shell opens the desktop folder in an explorer window of its own process.
wait_window ExplorerWClass Desktop 10000 || fail "no desktop folder window after running the Desktop item"
note "explorer processes: $before before, $(count_processes explorer.exe) after"
[ "$(count_visible '#32770')" = 0 ] || fail "a message box appeared after running the Desktop item"

show_launcher "after the Desktop item ran"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher window"

# The folder window's process ends with its window; only the desktop's own explorer stays.
probe post ExplorerWClass 0x0010 0 0 >/dev/null || fail "cannot close the desktop folder window"
wait_processes explorer.exe "$before" 5000 || fail "explorer processes left after closing the folder window: $(count_processes explorer.exe)"
[ "$(count_visible '#32770')" = 0 ] || fail "a message box appeared while vantrel was shown again"
exit_via_tray_menu "$pid"
