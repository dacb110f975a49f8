# The helper library beside the program is initialised at the start, asked about Windows 10 (which brings
# the Settings item) and ended at the exit; a library that lacks entry points is used for what it has.

dir=$(program_copy vantrel-helper)
ini="$(settings_dir)/vantrel.ini"
export VANEX_FIXTURE_WINDOWS10=1

# All five entry points.
cp "$E2E_BUILD/fixtures/vanex/vanex.dll" "$dir/" || fail "the vanex fixture is not built (target vanex_fixture)"
log="$E2E_DIR/vanex-full.log"
export VANEX_FIXTURE_LOG
VANEX_FIXTURE_LOG=$(winpath "$log")
start_vantrel "$dir/vantrel.exe"
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show with the helper library"
wait_file "$ini" 5000 || fail "no vantrel.ini"
expect_eq "$(head -n 1 "$log" 2>/dev/null)" InitVantrelEx "first call into the helper library"
grep -qx IsWindows10 "$log" || fail "the helper library was never asked IsWindows10"
settings=$(ini_items "$ini" System | awk -F'\t' '$3 == "ms-settings:"')
[ -n "$settings" ] || fail "no Settings item although the helper library reports Windows 10"
IFS=$'\t' read -r _ title _ _ index status _ <<<"$settings"
# Wine reports build 18362, below 22000: the Settings icon keeps its index.
expect_eq "$title|$index|$status" "Settings|316|3" "the Settings item"
exit_via_tray_menu "$pid"
expect_eq "$(tail -n 1 "$log")" EndVantrelEx "last call into the helper library"

# Only IsWindows10: no Init or End calls, and the answer still counts.
rm -rf "$(settings_dir)"
cp "$E2E_BUILD/fixtures/vanex_partial/vanex.dll" "$dir/vanex.dll" || fail "the vanex_partial fixture is not built"
log="$E2E_DIR/vanex-partial.log"
VANEX_FIXTURE_LOG=$(winpath "$log")
start_vantrel "$dir/vantrel.exe"
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show with a partial helper library"
wait_file "$ini" 5000 || fail "no vantrel.ini with a partial helper library"
grep -qx IsWindows10 "$log" || fail "the partial helper library was never asked IsWindows10"
ini_items "$ini" System | awk -F'\t' '$3 == "ms-settings:"' | grep -q . ||
    fail "no Settings item although the partial helper library reports Windows 10"
exit_via_tray_menu "$pid"
grep -v -x IsWindows10 "$log" && fail "calls other than IsWindows10 into the partial library"
true
