# "Stop all USB drives" with two sticks, one of which a program keeps busy. The test build of dravik.dll beside the
# program describes the machine: a stick with E: and F:, a built-in card reader with G: and a stick with H: that
# notepad holds. The command, chosen in the popup menu of a USB drive, asks both sticks (never the reader) and ends
# with one message naming the stopped stick and the busy one with the program that keeps it; the list of devices
# is right at once: the stopped stick's drive offers nothing more, the tray menu still offers the command.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

for letter in E H; do
    mkdir -p "$E2E_DIR/stick-$letter"
    probe define-drive "$letter" "$E2E_DIR/stick-$letter" || fail "cannot make drive $letter:"
done
dir=$(program_copy usbstopall)
cp "$E2E_BIN/canned/dravik.dll" "$dir/" || fail "no test build of dravik.dll in $E2E_BIN/canned"
start_vantrel "$dir/vantrel.exe"
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show"
ini="$(settings_dir)/vantrel.ini"
wait_file "$ini" 5000 || fail "the first start wrote no settings file"
label=$(label_height) || fail "cannot measure the caption font"

# drive_menu LETTER: shows the launcher and right-clicks that drive's System item (the other trays are one empty
# row each); prints the captions of its menu, which stays open.
drive_menu() {
    local drive left top
    drive=$(ini_items "$ini" System | awk -F'\t' -v root="$1:\\\\" '$3 == root { print $1; exit }')
    [ -n "$drive" ] || fail "no System item for $1:"
    show_launcher "the menu of $1:"
    read -r left top _ _ _ <<<"$(launcher_info)"
    click $((left + 8 + 40 * (drive % 7) + 22)) $((top + 3 * label + 96 + 40 * (drive / 7) + 22)) 3
    wait_window '#32768' 3000 || fail "the right click on $1: opened no menu"
    menu_items | cut -f3 | tr -d '\r'
}

grep -qx 'Stop all &USB drives' <<<"$(drive_menu E)" || fail "a USB drive's menu does not offer Stop all USB drives"
choose_menu_item 'Stop all &USB drives'
wait_window '#32770' vantrel 10000 || fail "no message after Stop all USB drives"
screenshot message
# The message's text is one control; its lines come joined by "|".
message=$(probe controls '#32770' vantrel | tr -d '\r' | paste -sd '|')
note "message: $message"
grep -qE 'Stopped, safe to unplug now:\|? *SanDisk Ultra USB Device \(E:, F:\)' <<<"$message" ||
    fail "the message does not name the stopped stick"
grep -qE 'Still busy, not stopped:\|? *Kingston DataTraveler 3\.0 USB Device \(H:\): in use by notepad\.exe' \
    <<<"$message" || fail "the message does not name the busy stick and who keeps it"
grep -q 'G:' <<<"$message" && fail "the message names the built-in card reader, which must not be stopped"
key Return
wait_gone '#32770' 3000 || fail "Enter did not close the message"

grep -q 'S&top\|Stop all' <<<"$(drive_menu E)" && fail "the stopped stick's drive still offers to stop it"
key Escape Escape
wait_launcher hidden 3000 || fail "Escape did not close the menu and the launcher"
right_click_tray_icon || fail "no tray menu"
menu_items | cut -f3 | grep -qx 'Stop all &USB drives' || fail "the tray menu does not offer the command with H: left"
choose_menu_item 'E&xit'
program_exited "$pid" 5000 || fail "the process still runs 5 s after E&xit"
