#!/usr/bin/env bash
# Helpers of the registration_*.sh scenarios (sourced by them; not a scenario itself).

source "$(dirname "$E2E_SCENARIO")/dialog_helpers.bash"

REG='Registering Icons'
PROGRAM_GRID=1105
SYSTEM_GRID=1106

# open_registration: a left click on the tray icon, until the dialog is up and in front. A loaded machine (two
# scenarios at once) may take seconds; a click that was lost is given once more.
open_registration() {
    click "$TRAY_ICON_X" "$TRAY_ICON_Y" 1
    if ! wait_window '#32770' "$REG" 10000; then
        click "$TRAY_ICON_X" "$TRAY_ICON_Y" 1
        wait_window '#32770' "$REG" 20000 || fail "a left click on the tray icon did not open '$REG'"
    fi
    wait_foreground "$REG" 5000 || fail "'$REG' did not come to the front"
    keyboard_focus "$REG"
}

# cell_centre INDEX [GRID] [COLUMNS]: the screen point "x y" of a cell's middle in the grid control.
cell_centre() {
    local rect columns=${3:-7}
    rect=$(control 4 "$REG" "${2:-$PROGRAM_GRID}")
    [ -n "$rect" ] || fail "no grid ${2:-$PROGRAM_GRID} in '$REG'"
    IFS=, read -r left top _ _ <<<"$rect"
    echo $((left + 2 + ($1 % columns) * 40 + 20)) $((top + 2 + ($1 / columns) * 40 + 20))
}

# drag_cell FROM TO [GRID]: presses on cell FROM, moves in small steps to cell TO and releases there.
drag_cell() {
    local fx fy tx ty i
    read -r fx fy <<<"$(cell_centre "$1" "${3:-$PROGRAM_GRID}")"
    read -r tx ty <<<"$(cell_centre "$2" "${3:-$PROGRAM_GRID}")"
    xdotool mousemove "$fx" "$fy" sleep 0.2 mousedown 1 sleep 0.2
    for i in 1 2 3 4 5 6; do
        xdotool mousemove $((fx + (tx - fx) * i / 6)) $((fy + (ty - fy) * i / 6)) sleep 0.1
    done
    xdotool sleep 0.3 mouseup 1 sleep 0.2
}

# wait_name TITLE MS: until the name panel shows TITLE.
wait_name() { wait_control 3 "$REG" 1102 "$1" "$2"; }

# click_button ID: a click on a button of the dialog (IDOK 1, IDCANCEL 2 or a control id).
click_button() {
    local id=$1 rect l t r b
    case "$id" in IDOK) id=1 ;; IDCANCEL) id=2 ;; esac
    rect=$(control 4 "${2:-$REG}" "$id")
    [ -n "$rect" ] || fail "no button $1 in '${2:-$REG}'"
    IFS=, read -r l t r b <<<"$rect"
    click $(((l + r) / 2)) $(((t + b) / 2))
}

# program_titles FILE [SECTION]: the titles of a tray's items in the file, joined by "|".
program_titles() { ini_items "$1" "${2:-Program}" | cut -f2 | paste -sd '|'; }


# cell_menu INDEX [GRID]: a right click on a cell of the dialog, until its popup menu is open.
cell_menu() {
    local x y
    read -r x y <<<"$(cell_centre "$1" "${2:-$PROGRAM_GRID}")"
    click "$x" "$y" 3
    wait_window '#32768' 5000 || fail "no popup menu on cell $1 of grid ${2:-$PROGRAM_GRID}"
}

# menu_state CAPTION: the open menu's state of that item (normal, grayed, ...).
menu_state() { menu_items | awk -F'\t' -v c="$1" '$3 == c { print $2; exit }'; }

# add_typed INDEX PATH: "&Add" on a Program cell, PATH typed into the file dialog and taken with Enter.
add_typed() {
    cell_menu "$1"
    choose_menu_item '&Add'
    wait_window '#32770' 'Add file' 8000 || fail "&Add did not open the file dialog 'Add file'"
    wait_foreground 'Add file' 5000 || fail "the file dialog is not in front"
    sleep 0.5
    xdotool type --delay 30 "$2"
    key Return
}

# grid_names GRID COUNT: the names of the first COUNT cells, read from the name panel as the mouse points at
# each, joined by "|".
grid_names() {
    local i x y names=()
    for ((i = 0; i < $2; i++)); do
        read -r x y <<<"$(cell_centre "$i" "$1")"
        mouse_move "$x" "$y"
        sleep 0.3
        names+=("$(control 3 "$REG" 1102)")
    done
    (IFS='|'; echo "${names[*]}")
}

# has_record TREE KIND FIELDS...: the accessibility tree has a record whose leading fields are these.
has_record() {
    local tree=$1 want
    shift
    want=$(printf '%s\t' "$@")
    awk -v want="$want" 'index($0 "\t", want) == 1 { found = 1 } END { exit !found }' <<<"$tree" ||
        fail "no record '$*' in the accessibility tree"
}

# watch_focus CLASS FILE COUNT: a listener for the focus events of the window of that class, in the background,
# ready when it returns; focus_events FILE then waits for it and leaves the events in `events` as
# "name<TAB>place|..." (not in a subshell: only this shell can wait for the listener).
watch_focus() {
    access watch "$1" 20000 "$3" >"$2" &
    watcher=$!
    local waited=0
    until grep -q '^ready' "$2" 2>/dev/null; do
        [ "$waited" -ge 10000 ] && fail "the focus listener did not start"
        sleep 0.1
        waited=$((waited + 100))
    done
}
focus_events() {
    wait "$watcher" || fail "the focus listener did not get every event it waited for ($(grep -c '^focus' "$1") came)"
    events=$(sed -n 's/^focus\t//p' "$1" | paste -sd '|')
}
