# A backup tool holds vantrel.ini open without sharing while vantrel starts: the user is told which file could
# not be read, and a save after the tool has let go is refused instead of writing defaults over the items.
source "$(dirname "$E2E_SCENARIO")/registration_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
write_ini "$ini" "[Option]
ColMax=5
[Program]
$(writer_item 0 Alpha a 0)
$(writer_item 1 Bravo b 0)"
before=$(md5sum <"$ini")

probe hold-file "$(winpath "$ini")" 12000 >"$E2E_DIR/holder.out" &
holder=$!
wait_file "$E2E_DIR/holder.out" 5000 || fail "the backup tool could not hold the settings file"
start_vantrel
pid=$E2E_LAST_PID
wait_window '#32770' vantrel 15000 || fail "no message about the settings file that could not be read"
text=$(message_text)
screenshot read-failure-message
grep -qi 'vantrel64\\vantrel\.ini' <<<"$text" || fail "the message does not name the settings file"
grep -q 'could not be read' <<<"$text" || fail "the message does not say the file could not be read"
answer_message
wait_tray_icon shown 10000 || fail "vantrel did not go on after the message"

# The tool lets go; OK in "Registering Icons" must not put the empty trays of this session over the items.
wait "$holder"
open_registration
click_button IDOK
wait_window '#32770' vantrel 10000 || fail "no message about the save that was refused"
text=$(message_text)
grep -q 'The settings could not be saved to' <<<"$text" || fail "the message does not say the settings were not saved"
answer_message
expect_eq "$(program_titles "$ini")" 'Alpha|Bravo' "the Program items on disk"
expect_eq "$(md5sum <"$ini")" "$before" "the settings file after the refused save"
kill -0 "$pid" 2>/dev/null || fail "vantrel ended"
