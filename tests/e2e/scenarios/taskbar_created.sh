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
waited=0
until [ "$(count_windows Shell_TrayWnd)" = 2 ]; do
    [ "$waited" -ge 10000 ] && fail "the new notification area did not open"
    sleep 0.2
    waited=$((waited + 250))
done
sleep 1
grep -q TVantrelMain "$requests" 2>/dev/null && fail "vantrel asked the new area before it was announced: $(cat "$requests")"

probe broadcast-taskbarcreated
waited=0
until grep -qE $'^add\tTVantrelMain\tgranted' "$requests" 2>/dev/null; do
    [ "$waited" -ge 5000 ] && fail "no icon added to the new notification area after TaskbarCreated: $(cat "$requests" 2>&1)"
    sleep 0.2
    waited=$((waited + 250))
done
kill -0 "$pid" 2>/dev/null || fail "vantrel ended on TaskbarCreated"
expect_eq "$(count_windows TVantrelMain)" 1 "TVantrelMain windows after TaskbarCreated"

# The stand-in goes; the desktop's own area, which still holds the icon, takes the requests again.
kill "$tray"
wait "$tray" 2>/dev/null
waited=0
until [ "$(count_windows Shell_TrayWnd)" = 1 ]; do
    [ "$waited" -ge 10000 ] && fail "the new notification area did not close"
    sleep 0.2
    waited=$((waited + 250))
done
exit_via_tray_menu "$pid"
wait_tray_icon gone 3000 || fail "the icon stays after E&xit that followed TaskbarCreated"
