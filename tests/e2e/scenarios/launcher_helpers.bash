#!/usr/bin/env bash
# Helpers of the launcher_*.sh scenarios (sourced by them; not a scenario itself).

# The task-window fixture, in three colours.
taskwin() { echo "$E2E_BUILD/fixtures/vantaskwin_$1.exe"; }

# launcher_info: "left top right bottom visible" of the launcher window, nothing when there is none.
launcher_info() {
    probe list | awk -F'\t' '$3 == "TVanMainForm" && $4 == "vantrel" { split($5, r, ","); print r[1], r[2], r[3], r[4], $6; exit }'
}

# wait_launcher shown|hidden MS
wait_launcher() {
    local want=$1 ms=$2 waited=0 info visible
    while :; do
        info=$(launcher_info)
        visible=$(awk '{ print $5 }' <<<"$info")
        [ "$want" = shown ] && [ "$visible" = 1 ] && return 0
        [ "$want" = hidden ] && [ -n "$info" ] && [ "$visible" = 0 ] && return 0
        [ "$waited" -ge "$ms" ] && return 1
        sleep 0.1
        waited=$((waited + 150))
    done
}

hot_key() { xdotool key ctrl+alt+j; }

# The height of the trays' caption font, measured apart from the program: a label is one line of it.
label_height() {
    # A busy machine can make a Wine start fail now and then; a missing number would misplace every cell.
    local height attempt
    for attempt in 1 2 3; do
        height=$(wine "$(taskwin red)" --text-height "Segoe UI" -12 2>/dev/null | tr -d '\r' | grep -E '^[0-9]+$' | head -n 1)
        [ -n "$height" ] && { echo "$height"; return 0; }
        sleep 0.5
    done
    return 1
}

# tray_height SHOWN COLUMNS: rows of 40 pixels plus the 2-pixel frame; ((n - 1) div c) + 1 rows, truncating.
tray_height() { echo $(((($1 - 1) / $2 + 1) * 40 + 2)); }

# launcher_height LABEL H0 H1 H2: three captions and boxes with their 2-pixel gaps, then the name panel.
launcher_height() { echo $((3 * ($1 + 4) + $2 + $3 + $4 + 10 + 22 + 10)); }

# shown_count FILE SECTION: items before the first "not used" one (Status bit 4).
shown_count() {
    ini_items "$1" "$2" | awk -F'\t' '{ if (int($6) % 8 >= 4) exit; n++ } END { print n + 0 }'
}

# program_items N: a [Program] section of N items that start notepad.
program_items() {
    local i
    echo "[Program]"
    for ((i = 0; i < $1; i++)); do
        printf 'Title%d=Program %d\nExeFileName%d=C:\\windows\\notepad.exe\nIconFileName%d=C:\\windows\\notepad.exe\nIconIndex%d=0\nStatus%d=0\n' \
            "$i" "$i" "$i" "$i" "$i" "$i"
    done
}

# pixel_at X Y: the screen colour there, RRGGBB.
# A probe that Wine could not start under load prints nothing: asked again, up to three times.
pixel_at() {
    local colour="" i
    for i in 1 2 3; do
        colour=$(probe pixel "$1" "$2") && [ -n "$colour" ] && break
    done
    echo "$colour"
}

# colour_near RRGGBB RRGGBB TOLERANCE: each channel within the tolerance.
colour_near() {
    local a=$1 b=$2 t=$3 i
    for i in 0 2 4; do
        local x=$((16#${a:i:2})) y=$((16#${b:i:2}))
        [ $((x > y ? x - y : y - x)) -le "$t" ] || return 1
    done
}

# open_task_windows "COLOUR TITLE AT"...: one task-window fixture per argument, each up before the next starts
# (the last one started is the active window); their process ids by title in task_pid.
open_task_windows() {
    declare -gA task_pid
    local window colour title at
    for window in "$@"; do
        read -r colour title at <<<"$window"
        start_program "$(taskwin "$colour")" --title "$title" --at "$at" "$at"
        task_pid[$title]=$E2E_LAST_PID
        wait_window VanTaskWindow "$title" 10000 || fail "window $title did not appear"
    done
}

# start_resident [WHEN]: starts vantrel and waits for its tray icon; the process id is left in pid.
start_resident() {
    start_vantrel
    pid=$E2E_LAST_PID
    wait_tray_icon shown 10000 || fail "vantrel's icon does not show${1:+ $1}"
}

# show_launcher [WHAT]: the hot key with the mouse out of the way, until the window is up and painted.
show_launcher() {
    mouse_move 900 100
    hot_key
    wait_launcher shown 5000 || fail "the hot key did not show the launcher window${1:+ ($1)}"
    sleep 0.3
}

# The argwriter fixture's path as Wine names it.
writer_win() {
    local writer="$E2E_BUILD/fixtures/argwriter/argwriter.exe"
    [ -f "$writer" ] || fail "no argwriter fixture at $writer"
    winpath "$writer"
}

# writer_item K TITLE ARGUMENT STATUS: the keys of item K of a [Program] or [System] section that starts the
# argwriter with the one argument ARGUMENT; runs are told apart by what it writes.
writer_item() {
    local k=$1 exe
    exe=$(writer_win)
    printf 'Title%s=%s\nExeFileName%s=%s\nIconFileName%s=%s\nIconIndex%s=0\nArgumentName%s=%s\nStatus%s=%s\n' \
        "$k" "$2" "$k" "$exe" "$k" "$exe" "$k" "$k" "$3" "$k" "$4"
}

# direct_key_status CHAR [FLAGS]: an item's Status carrying CHAR as its direct key (bits 8-15) and FLAGS.
direct_key_status() {
    echo $(($(printf '%d' "'$1") << 8 | ${2:-0}))
}

# writer_args OUT MS: the arguments of the writer's last run, joined by "|", once it has written OUT within
# MS milliseconds (status 1 otherwise). The file is removed, so the next run is seen afresh.
writer_args() {
    wait_file "$1" "$2" || return 1
    sed -n 's/^arg=//p' "$1" | tr -d '\r' | paste -sd '|'
    rm -f "$1"
}

# keys_run OUT EXPECTED KEYS...: a fresh show, then KEYS: the writer (writing OUT) runs with the argument
# EXPECTED and the window hides.
keys_run() {
    local out=$1 expected=$2 got
    shift 2
    show_launcher "before '$*'"
    key "$@"
    got=$(writer_args "$out" 10000) || fail "'$*' ran nothing (expected '$expected')"
    expect_eq "$got" "$expected" "item run by '$*'"
    wait_launcher hidden 3000 || fail "the launcher window stayed up after '$*' ran '$got'"
}

# foreground_title: the title of the foreground window.
foreground_title() { probe foreground | cut -f3 | tr -d '\r'; }

# wait_foreground TITLE MS: until the window titled TITLE is the foreground window.
wait_foreground() {
    local waited=0
    until [ "$(foreground_title)" = "$1" ]; do
        [ "$waited" -ge "$2" ] && return 1
        sleep 0.1
        waited=$((waited + 250))
    done
}

# wait_task_iconic TITLE yes|no MS: until the task-window fixture titled TITLE is (or is not) minimised.
wait_task_iconic() {
    local title=$1 want=$2 ms=$3 waited=0 style
    while :; do
        style=$(probe list | awk -F'\t' -v t="$title" '$3 == "VanTaskWindow" && $4 == t { print $7; exit }')
        if [ -n "$style" ]; then
            local iconic=no
            (((style & 0x20000000) != 0)) && iconic=yes
            [ "$iconic" = "$want" ] && return 0
        fi
        [ "$waited" -ge "$ms" ] && return 1
        sleep 0.1
        waited=$((waited + 250))
    done
}
