# After the shell announces a new taskbar ("TaskbarCreated") the program is still resident with its icon,
# and E&xit still removes the icon.

start_vantrel
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show in the notification area"
probe broadcast-taskbarcreated
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "vantrel ended on TaskbarCreated"
wait_tray_icon shown 3000 || fail "the icon is gone after TaskbarCreated"
expect_eq "$(count_windows TVantrelMain)" 1 "TVantrelMain windows after TaskbarCreated"
exit_via_tray_menu "$pid"
wait_tray_icon gone 3000 || fail "the icon stays after E&xit that followed TaskbarCreated"
