# When the notification area is not ready as vantrel starts (the shell still loading at log-on), the icon is
# added as soon as it is. A stand-in notification area that refuses every request until it is told it is
# ready stands in front of the desktop's own; vantrel's add at the start fails, and once the stand-in is
# ready, unannounced (no "TaskbarCreated"), vantrel's next try must add the icon. Meanwhile vantrel tries
# again only now and then.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

requests="$E2E_DIR/tray-requests.log"
ready="$E2E_DIR/tray-ready"
start_program "$E2E_BUILD/fixtures/vanfaketray.exe" "$(winpath "$requests")" "$(winpath "$ready")"
wait_until 10000 tray_areas 2 || fail "the stand-in notification area did not open"

start_vantrel
# wait_requests PATTERN MS: until a line of the log matches.
wait_requests() { wait_until "$2" grep -sqE "$1" "$requests"; }
wait_requests $'^add\tTVantrelMain\trefused' 10000 || fail "vantrel's add at the start did not reach the stand-in"
mouse_move 900 100
hot_key
wait_launcher shown 10000 || fail "vantrel does not answer the hot key after its icon was refused"
hot_key
sleep 6
attempts=$(grep -c $'^add\tTVantrelMain\trefused' "$requests")
note "refused adds within about 6 s: $attempts"
[ "$attempts" -ge 3 ] || fail "vantrel tried to add its icon $attempts times in 6 s: it does not try again"
[ "$attempts" -le 12 ] || fail "vantrel tried to add its icon $attempts times in 6 s: it does not wait between tries"

touch "$ready"
wait_requests $'^add\tTVantrelMain\tgranted' 15000 ||
    fail "no add of vantrel's icon within 15 s of the notification area becoming ready ($(tr '\t\n' ' |' <"$requests"))"
note "requests: $(tr '\t\n' ' |' <"$requests")"
