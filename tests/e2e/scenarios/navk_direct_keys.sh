# An item's direct key runs the next item after the cursor that carries it, walking on from the Program
# tray into the System tray and skipping items that are not used; the window hides after the run. With
# "only move the cursor" set, the same keys only move the cursor (nothing runs, the window stays up) and
# Enter then runs the item they reached; from the Task tray the walk begins in the System tray.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
out="$E2E_DIR/args.txt"
a=$(direct_key_status A)
unused_a=$(direct_key_status A 4)

# Program: Start (no key), First A, Second A, then a not-used item with A; System: System A, an item on
# F10 (stored as the key code plus 0x50) and one on Shift+B (stored as "b"), before the built-in items.
settings() {
    write_ini "$ini" "[Option]
ColMax=10
DirectMoveOnlyFlag=$1
KeyCursorFlag=$2
[Program]
$(writer_item 0 Start start 0)
$(writer_item 1 'First A' first-a "$a")
$(writer_item 2 'Second A' second-a "$a")
$(writer_item 3 'Unused A' unused-a "$unused_a")
[System]
$(writer_item 0 'System A' system-a "$a")
$(writer_item 1 'F10' f10 $((0xC9 << 8)))
$(writer_item 2 'Shift B' shift-b "$(direct_key_status b)")"
}

start() {
    VANTREL_ARGWRITER_OUT=$(winpath "$out") start_vantrel
    pid=$E2E_LAST_PID
    wait_tray_icon shown 10000 || fail "vantrel's icon does not show"
}

settings 0 0
start
# A show puts the cursor on the Program tray's first cell; the search starts after it.
keys_run "$out" first-a a
keys_run "$out" second-a Right a
# From Second A: the not-used item is passed over and the walk goes on into the System tray.
keys_run "$out" system-a Right Right a
# F10 arrives as a system key without Alt.
keys_run "$out" f10 F10
keys_run "$out" shift-b shift+b
exit_via_tray_menu "$pid"

# Only moving, and the hot key puts the cursor on the Task tray, which a task window fills.
start_program "$(taskwin green)" --title T --at 120 120
wait_window VanTaskWindow T 10000 || fail "task window T did not appear"
settings 1 1
start
# moves_then_enter COUNT EXPECTED: COUNT presses of A leave the window up and run nothing; Enter then runs
# EXPECTED, the item the cursor reached.
moves_then_enter() {
    local count=$1 expected=$2 i got
    show_launcher "before $count presses of A"
    for ((i = 0; i < count; i++)); do key a; done
    sleep 0.5
    wait_launcher shown 500 || fail "$count presses of A hid the launcher window with only moving set"
    [ ! -e "$out" ] || fail "$count presses of A ran '$(writer_args "$out" 0)' with only moving set"
    key Return
    got=$(writer_args "$out" 10000) || fail "Enter after $count presses of A ran nothing"
    expect_eq "$got" "$expected" "item under the cursor after $count presses of A"
    wait_launcher hidden 3000 || fail "the launcher window stayed up after Enter"
}
# From the Task tray the walk starts after the System tray's first item, so System A comes last, after
# First A and Second A; from there the next press goes round the end of the System tray to First A.
moves_then_enter 1 first-a
moves_then_enter 3 system-a
moves_then_enter 4 first-a
exit_via_tray_menu "$pid"
