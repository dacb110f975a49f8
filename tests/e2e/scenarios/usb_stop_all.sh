# "Stop all USB drives" with two sticks, one of which a program keeps busy. The test build of dravik.dll beside the
# program describes the machine: a stick with E: and F:, a built-in card reader with G: and a stick with H: that
# notepad holds. The command, chosen in the popup menu of a USB drive, asks both sticks (never the reader) and ends
# with one message that names the stopped stick and the busy one with the program that keeps it; afterwards the
# list of devices holds only what is left, which the menus show: the stopped stick's drive offers nothing, the
# busy stick's still does, and so does the tray menu.
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

# drive_menu LETTER: shows the launcher and right-clicks that drive's System item; prints the captions of its
# menu, which stays open. No Program items and no task windows: each of those trays is one empty row.
drive_menu() {
    local drive
    drive=$(ini_items "$ini" System | awk -F'\t' -v root="$1:\\\\" '$3 == root { print $1; exit }')
    [ -n "$drive" ] || fail "no System item for $1:"
    show_launcher "the menu of $1:"
    local left top
    read -r left top _ _ _ <<<"$(launcher_info)"
    local system_top=$((top + 3 * label + 42 + 42 + 12))
    click $((left + 8 + 40 * (drive % 7) + 2 + 20)) $((system_top + 40 * (drive / 7) + 2 + 20)) 3
    wait_window '#32768' 3000 || fail "the right click on $1: opened no menu"
    menu_items | cut -f3 | tr -d '\r'
}

items=$(drive_menu E)
note "menu of E: $(paste -sd '|' <<<"$items")"
grep -qx 'Stop all &USB drives' <<<"$items" || fail "a USB drive's menu does not offer Stop all USB drives"
choose_menu_item 'Stop all &USB drives'
wait_launcher hidden 3000 || fail "the launcher stayed up after Stop all USB drives"

wait_window '#32770' vantrel 10000 || fail "no message after Stop all USB drives"
screenshot message
# The message's text is one control; its lines come joined by "|".
message=$(probe controls '#32770' vantrel | tr -d '\r' | paste -sd '|')
note "message: $message"
grep -qE 'Stopped, safe to unplug now:\|? *SanDisk Ultra USB Device \(E:, F:\)' <<<"$message" ||
    fail "the message does not name the stopped stick: $message"
grep -qE 'Still busy, not stopped:\|? *Kingston DataTraveler 3\.0 USB Device \(H:\): in use by notepad\.exe' \
    <<<"$message" || fail "the message does not name the busy stick and who keeps it: $message"
grep -q 'G:' <<<"$message" && fail "the message names the built-in card reader, which must not be stopped"
key Return
wait_gone '#32770' 3000 || fail "Enter did not close the message"

# The list of devices is the one the library now reports, without waiting for a device change.
items=$(drive_menu E)
note "menu of E: afterwards: $(paste -sd '|' <<<"$items")"
grep -q 'S&top\|Stop all' <<<"$items" && fail "the stopped stick's drive still offers to stop it"
key Escape
wait_gone '#32768' 3000 || fail "Escape did not close the menu of E:"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher"
items=$(drive_menu H)
note "menu of H: afterwards: $(paste -sd '|' <<<"$items")"
grep -qx 'S&top' <<<"$items" || fail "the busy stick's drive no longer offers S&top"
grep -qx 'Stop all &USB drives' <<<"$items" || fail "the busy stick's drive no longer offers Stop all USB drives"
key Escape
wait_gone '#32768' 3000 || fail "Escape did not close the menu of H:"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher"

right_click_tray_icon || fail "no tray menu"
items=$(menu_items | cut -f3 | tr -d '\r')
grep -qx 'Stop all &USB drives' <<<"$items" || fail "the tray menu does not offer Stop all USB drives with a stick left"
choose_menu_item 'E&xit'
program_exited "$pid" 5000 || fail "the process still runs 5 s after E&xit"
