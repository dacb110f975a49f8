# A settings file that cannot be written (here a read-only one) is reported to the user: a message box
# names the file and the reason, the file stays exactly as it was, and the program goes on with the settings
# in use. The write that fails is the first start's completion of the System items.

ini="$(settings_dir)/vantrel.ini"
write_ini "$ini" "[Option]
ColMax=5"
chmod a-w "$ini"
before=$(md5sum <"$ini")

start_vantrel
pid=$E2E_LAST_PID
wait_window '#32770' vantrel 15000 || fail "no message box about the settings that could not be saved"
text=$(message_text)
screenshot write-failure-message
grep -q 'The settings could not be saved to' <<<"$text" || fail "the message does not say that the settings were not saved"
grep -qi 'vantrel64\\vantrel\.ini' <<<"$text" || fail "the message does not name the settings file"
grep -q 'The settings in use are kept; the file on disk is unchanged\.' <<<"$text" ||
    fail "the message does not say what became of the settings"
expect_eq "$(md5sum <"$ini")" "$before" "the read-only file's content"

answer_message
wait_tray_icon shown 10000 || fail "vantrel did not go on after the message"
kill -0 "$pid" 2>/dev/null || fail "vantrel ended after the failed write"
expect_eq "$(md5sum <"$ini")" "$before" "the read-only file's content after OK"
