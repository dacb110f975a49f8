#!/usr/bin/env bash
# Helpers of the dialogs_*.sh scenarios (sourced by them; not a scenario itself).

source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

# tray_command CAPTION: the tray menu's entry, chosen with the mouse.
tray_command() {
    right_click_tray_icon || fail "no tray menu for '$1'"
    choose_menu_item "$1"
}

# open_dialog CAPTION TITLE: a tray command that opens a dialog; waits until the dialog is up and in front.
open_dialog() {
    tray_command "$1"
    wait_window '#32770' "$2" 8000 || fail "'$1' did not open the dialog '$2'"
    wait_foreground "$2" 5000 || fail "the dialog '$2' did not come to the front"
    keyboard_focus "$2"
}

# control FIELD TITLE ID: one field of a control of the dialog (2 class, 3 text, 5 visible, 6 enabled,
# 7 check state, 8 selected line), as vanprobe controls lists them.
control() {
    probe controls '#32770' "$2" | awk -F'\t' -v id="$3" -v f="$1" '$1 == id { print $f; exit }'
}

# wait_control FIELD TITLE ID VALUE MS
wait_control() {
    local waited=0
    until [ "$(control "$1" "$2" "$3")" = "$4" ]; do
        [ "$waited" -ge "$5" ] && return 1
        sleep 0.1
        waited=$((waited + 250))
    done
}

# wait_dialog_gone TITLE MS: until no visible dialog has that title.
wait_dialog_gone() {
    local waited=0
    while probe list | awk -F'\t' -v t="$1" '$3 == "#32770" && $4 == t && $6 == 1 { found = 1 } END { exit !found }'; do
        [ "$waited" -ge "$2" ] && return 1
        sleep 0.1
        waited=$((waited + 200))
    done
}

# wait_ini_value FILE SECTION KEY VALUE MS
wait_ini_value() {
    local waited=0
    until [ -f "$1" ] && [ "$(ini_value "$1" "$2" "$3")" = "$4" ]; do
        [ "$waited" -ge "$5" ] && return 1
        sleep 0.1
        waited=$((waited + 100))
    done
}

# mouse_chord: the default mouse combination, the right button pressed while the left one is held.
mouse_chord() {
    mouse_move 900 100
    xdotool mousedown 1 sleep 0.3 click 3 sleep 0.3 mouseup 1
}

RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# autorun_value: the automatic-start value's data, nothing when it is absent.
autorun_value() {
    wine reg query "$RUN_KEY" /v Vantrel64 2>/dev/null | tr -d '\r' | awk '$1 == "Vantrel64" { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}

# activate_dialog TITLE: a click on the dialog's title bar, which brings it to the front.
activate_dialog() {
    local rect
    rect=$(probe list | awk -F'\t' -v t="$1" '$3 == "#32770" && $4 == t && $6 == 1 { print $5; exit }')
    [ -n "$rect" ] || fail "no dialog '$1' to click on"
    IFS=, read -r left top _ _ <<<"$rect"
    click $((left + 40)) $((top + 8))
    wait_foreground "$1" 5000 || fail "the dialog '$1' did not come to the front"
    keyboard_focus "$1"
}

# sheet_page TITLE: the caption of the property sheet's page on top.
sheet_page() {
    probe controls '#32770' "$1" | awk -F'\t' '$2 == "#32770" && $5 == 1 { print $3; exit }'
}

# goto_page TITLE PAGE: Ctrl+Tab until PAGE is on top.
goto_page() {
    local tries
    for tries in 1 2 3 4; do
        [ "$(sheet_page "$1")" = "$2" ] && return 0
        key ctrl+Tab
    done
    [ "$(sheet_page "$1")" = "$2" ] || fail "Ctrl+Tab did not reach the page '$2' of '$1'"
}
