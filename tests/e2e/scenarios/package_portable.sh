# The portable zip unpacked into a folder: the program runs from there and keeps its settings beside itself,
# nothing in %APPDATA%. Where the settings cannot be written the user is told which folder it is.
#
# e2e-limit: 100 (two program starts, each ended through the tray menu)

source "$(dirname "$E2E_SCENARIO")/package_helpers.bash"

zip=$(package_file portable)
unpack() {
    mkdir -p "$1"
    python3 -m zipfile -e "$zip" "$1" || fail "cannot unpack $zip"
}
unpack "$WINEPREFIX/drive_c/stick"
dir="$WINEPREFIX/drive_c/stick/vantrel"
for f in vantrel.exe dravik.dll README.txt vantrel.portable; do
    [ -f "$dir/$f" ] || fail "the zip has no vantrel/$f"
done

start_vantrel "$dir/vantrel.exe"
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "the portable copy shows no tray icon"
wait_file "$dir/vantrel.ini" 10000 || fail "the portable copy wrote no vantrel.ini beside itself"
[ "$(ini_items "$dir/vantrel.ini" System | wc -l)" -gt 0 ] || fail "the portable vantrel.ini has no System items"
[ -e "$(settings_dir)" ] && fail "the portable copy made $(settings_dir)"
exit_via_tray_menu "$pid"

# A copy whose settings file cannot be written: the first start's write fails and the message names the folder.
unpack "$WINEPREFIX/drive_c/locked"
locked="$WINEPREFIX/drive_c/locked/vantrel"
: >"$locked/vantrel.ini"
chmod a-w "$locked/vantrel.ini"
start_program "$locked/vantrel.exe"
pid=$E2E_LAST_PID
text=$(probe window-text '#32770' 15000) || fail "no message about the settings that could not be saved"
echo "$text" >"$E2E_DIR/message.txt"
screenshot write-failure-message
for part in 'C:\locked\vantrel\vantrel.ini' 'portable and keeps its settings in its own folder: C:\locked\vantrel ' \
    'delete the file vantrel.portable'; do
    grep -qF "$part" <<<"$text" || fail "the message does not say '$part': $text"
done
probe post '#32770' 0x0111 1 0 >/dev/null # IDOK
wait_hidden '#32770' 5000 || fail "the message did not close"
wait_tray_icon shown 10000 || fail "the program did not go on after the message"
[ -s "$locked/vantrel.ini" ] && fail "the read-only settings file was changed"
[ -e "$(settings_dir)" ] && fail "the settings went to $(settings_dir) instead"
exit_via_tray_menu "$pid"
