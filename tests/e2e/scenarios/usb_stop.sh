# A USB stick that was plugged in before vantrel started can be stopped at once. The test build of dravik.dll
# beside the program describes a machine whose USB stick holds E: and F:, and drive E: exists for Wine. The
# System tray's item of E: offers "S&top" without any device change; chosen, the command reaches the
# library, which lets the stick go; after the device change the system then sends, the item no longer
# offers it.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

mkdir -p "$E2E_DIR/stick"
probe define-drive E "$E2E_DIR/stick" || fail "cannot make drive E:"
dir=$(program_copy usbstop)
cp "$E2E_BIN/canned/dravik.dll" "$dir/" || fail "no test build of dravik.dll in $E2E_BIN/canned"
start_vantrel "$dir/vantrel.exe"
wait_tray_icon shown 10000 || fail "vantrel's icon does not show"
ini="$(settings_dir)/vantrel.ini"
wait_file "$ini" 5000 || fail "the first start wrote no settings file"
drive=$(ini_items "$ini" System | awk -F'\t' '$3 == "E:\\" { print $1; exit }')
[ -n "$drive" ] || fail "no System item for E:\\ ($(ini_items "$ini" System | cut -f3 | paste -sd ' '))"
[ "$drive" -lt "$(shown_count "$ini" System)" ] || fail "the E:\\ item ($drive) is not shown"

label=$(label_height) || fail "cannot measure the caption font"
# drive_menu: shows the launcher and right-clicks the E: item; prints the captions of its menu, which stays
# open. No Program items and no task windows: each of those trays is one empty row.
drive_menu() {
    show_launcher "$1"
    local left top
    read -r left top _ _ _ <<<"$(launcher_info)"
    local system_top=$((top + 3 * label + 42 + 42 + 12))
    click $((left + 8 + 40 * (drive % 7) + 2 + 20)) $((system_top + 40 * (drive / 7) + 2 + 20)) 3
    wait_window '#32768' 3000 || fail "$1: the right click on E:\\ opened no menu"
    menu_items | cut -f3 | tr -d '\r'
}

items=$(drive_menu "before any device change")
note "menu of E: at the start: $(paste -sd '|' <<<"$items")"
screenshot menu-at-start
grep -qx 'S&top' <<<"$items" || fail "the stick's drive offers no S&top before a device change came"
choose_menu_item 'S&top'
wait_launcher hidden 3000 || fail "the launcher stayed up after S&top"

# What the system sends once a device has gone.
probe post TVantrelMain 0x219 7 0 >/dev/null || fail "cannot post the device change"
items=$(drive_menu "after the stick was stopped")
note "menu of E: after S&top: $(paste -sd '|' <<<"$items")"
screenshot menu-after-stop
grep -qx 'S&top' <<<"$items" && fail "S&top is still offered: the library was not asked to remove the stick"
key Escape
wait_gone '#32768' 3000 || fail "Escape did not close the drive's menu"
