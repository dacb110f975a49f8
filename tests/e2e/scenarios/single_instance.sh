# A second start while one instance runs ends by itself, silently, and leaves one process with one main
# window and one tray icon.

start_vantrel
first=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show in the notification area"

start_program
second=$E2E_LAST_PID
program_exited "$second" 10000 || fail "the second start did not end within 10 s"
wait "$second"
expect_eq "$?" 0 "exit status of the second start"

expect_eq "$(count_processes vantrel.exe)" 1 "vantrel.exe processes after two starts"
expect_eq "$(count_windows TVantrelMain)" 1 "TVantrelMain windows after two starts"
expect_eq "$(count_visible '#32770')" 0 "message boxes after the second start"
kill -0 "$first" 2>/dev/null || fail "the first instance ended"
# A second icon would sit 20 px left of the first: no vantrel colours there.
probe find-color FAB53A 40 900 $((E2E_HEIGHT - 20)) $((TRAY_ICON_X - 10)) "$E2E_HEIGHT" >/dev/null &&
    fail "a second tray icon appeared"

exit_via_tray_menu "$first"
