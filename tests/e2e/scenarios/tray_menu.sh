# A right click on the tray icon opens the tray menu with its entries in order; "E&xit", chosen by its
# keyboard accelerator, ends the program, closes its main window and removes its icon.

start_vantrel
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show in the notification area"

right_click_tray_icon || fail "no menu after a right click on the tray icon"
screenshot tray-menu
items=$(menu_items) || fail "cannot read the tray menu"
note "$items"

# Captions and separators in order; the environment entries are hidden with one environment.
expected=$(printf '&Setting...\n&Registering Icons...\n-\nSelect &Environment...\n-\n&Help\n&About...\n-\nE&xit')
actual=$(awk -F'\t' '{ print ($2 == "separator") ? "-" : $3 }' <<<"$items")
expect_eq "$actual" "$expected" "tray menu entries"
# Help and Exit work from the start; the others follow their dialogs.
for caption in '&Help' 'E&xit'; do
    state=$(awk -F'\t' -v c="$caption" '$3 == c { print $2 }' <<<"$items")
    expect_eq "$state" normal "state of $caption"
done

# Keys reach a popup menu when the desktop has the X focus and the pointer is over the menu.
read -r left top right bottom <<<"$(menu_rect)"
mouse_move $(((left + right) / 2)) $((top + 4))
focus_desktop
key x
program_exited "$pid" 5000 || fail "the process still runs 5 s after E&xit (key x)"
wait_gone TVantrelMain 3000 || fail "the main window is still there after E&xit"
wait_tray_icon gone 3000 || fail "the tray icon is still shown after E&xit"
wait "$pid"
expect_eq "$?" 0 "exit status after E&xit"
