# When the shell restarts, its new notification area holds none of the old icons and announces itself to every
# window ("TaskbarCreated"): vantrel must add its icon to the new area, stay resident, and E&xit still removes
# the icon. The new area is a stand-in that comes up in front of the desktop's own and logs every request.

requests="$E2E_DIR/tray-requests.log"
ready="$E2E_DIR/tray-ready"
start_vantrel
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show in the notification area"

touch "$ready"
start_program "$E2E_BUILD/fixtures/vanfaketray.exe" "$(winpath "$requests")" "$(winpath "$ready")"
tray=$E2E_LAST_PID
wait_until 10000 tray_areas 2 || fail "the new notification area did not open"
sleep 1
grep -q TVantrelMain "$requests" 2>/dev/null && fail "vantrel asked the new area before it was announced: $(cat "$requests")"

probe broadcast-taskbarcreated
wait_until 5000 grep -sqE $'^add\tTVantrelMain\tgranted' "$requests" ||
    fail "no icon added to the new notification area after TaskbarCreated: $(cat "$requests" 2>&1)"
kill -0 "$pid" 2>/dev/null || fail "vantrel ended on TaskbarCreated"
expect_eq "$(count_windows TVantrelMain)" 1 "TVantrelMain windows after TaskbarCreated"

# The stand-in goes; the desktop's own area, which still holds the icon, takes the requests again.
kill "$tray"
wait "$tray" 2>/dev/null
wait_until 10000 tray_areas 1 || fail "the new notification area did not close"
exit_via_tray_menu "$pid"
wait_tray_icon gone 3000 || fail "the icon stays after E&xit that followed TaskbarCreated"
