# A screen reader's view of the launcher window, read from another program: the three trays as lists named
# "Program", "Task" and "System", every item and task by its name with its place, its key and its action, the
# cursor's cell focused and selected. The show announces the cursor's cell, the arrow keys and the mouse move
# the focus (the focus events name the new cell), the reader can put the cursor on a cell, and an item's
# default action runs it as Enter would.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
out="$E2E_DIR/args.txt"
write_ini "$ini" "[Option]
ColMax=10
[Program]
$(writer_item 0 Alpha alpha "$(direct_key_status A)")
$(writer_item 1 Beta beta "$(direct_key_status b)")
$(writer_item 2 Gamma gamma $((0xC4 << 8)))"

# watch_focus FILE COUNT: a listener for the launcher's focus events in the background, ready when it returns.
watch_focus() {
    access watch TVanMainForm 20000 "$2" >"$1" &
    watcher=$!
    local waited=0
    until grep -q '^ready' "$1" 2>/dev/null; do
        [ "$waited" -ge 10000 ] && fail "the focus listener did not start"
        sleep 0.1
        waited=$((waited + 100))
    done
}
# focus_events FILE: once the listener has ended, the events it got as "name<TAB>place" lines joined by "|".
focus_events() {
    wait "$watcher" || fail "the focus listener did not get every event it waited for ($(grep -c '^focus' "$1") came)"
    events=$(sed -n 's/^focus\t//p' "$1" | paste -sd '|')
}

open_task_windows "green GreenTask 60" "red RedTask 120"
VANTREL_ARGWRITER_OUT=$(winpath "$out") start_vantrel
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show"

# The show announces the cell under the cursor.
watch_focus "$E2E_DIR/focus-show.txt" 1
show_launcher
focus_events "$E2E_DIR/focus-show.txt"
expect_eq "$events" "$(printf 'Alpha\t1 of 3')" "the focus event of the show"

tree=$(access tree TVanMainForm 5000) || fail "the launcher window has no accessible client object"
echo "$tree" >"$E2E_DIR/tree.txt"
# has_record KIND FIELDS...: the tree has a record whose leading fields are these (the rest, such as the
# bounds, may differ).
has_record() {
    local want
    want=$(printf '%s\t' "$@")
    awk -v want="$want" 'index($0 "\t", want) == 1 { found = 1 } END { exit !found }' <<<"$tree" ||
        fail "no record '$*' in the tree (see tree.txt)"
}
has_record client vantrel client 3
has_record list Program list 3
has_record list Task list 2
has_record item Program Alpha "list item" "1 of 3" A Run 1 1
has_record item Program Beta "list item" "2 of 3" Shift+B Run 0 0
has_record item Program Gamma "list item" "3 of 3" F5 Run 0 0
# The active window comes last in the Task tray; the number keys reach the tasks.
has_record item Task GreenTask "list item" "1 of 2" 1 "Switch to" 0 0
has_record item Task RedTask "list item" "2 of 2" 2 "Switch to" 0 0
has_record focus Program Alpha
system=$(awk -F'\t' '$1 == "list" && $2 == "System" { print $4 }' <<<"$tree")
[ "${system:-0}" -ge 1 ] || fail "the System list is empty"
[ "$(awk -F'\t' '$1 == "item" && $2 == "System" && $3 != ""' <<<"$tree" | wc -l)" -eq "$system" ] ||
    fail "a System item has no name"

# Bounds: the first Program cell lies inside the launcher window, 39 pixels square.
read -r left top right bottom _ <<<"$(launcher_info)"
IFS=, read -r cx cy cw ch <<<"$(awk -F'\t' '$1 == "item" && $3 == "Alpha" { print $10 }' <<<"$tree")"
[ "$cw" = 39 ] && [ "$ch" = 39 ] || fail "the first cell is ${cw}x${ch}, expected 39x39"
[ "$cx" -gt "$left" ] && [ "$cy" -gt "$top" ] && [ $((cx + cw)) -lt "$right" ] && [ $((cy + ch)) -lt "$bottom" ] ||
    fail "the first cell ($cx,$cy) lies outside the window ($left,$top,$right,$bottom)"

# The arrow keys: Right to Beta, Down into the Task tray in the same column, Up back to Beta.
watch_focus "$E2E_DIR/focus-keys.txt" 3
key Right Down Up
focus_events "$E2E_DIR/focus-keys.txt"
expect_eq "$events" "$(printf 'Beta\t2 of 3|RedTask\t2 of 2|Beta\t2 of 3')" "the focus events of Right, Down, Up"

# The reader puts the cursor on a cell: the focus moves there, and is announced.
watch_focus "$E2E_DIR/focus-select.txt" 1
access select TVanMainForm GreenTask >/dev/null || fail "selecting GreenTask was refused"
focus_events "$E2E_DIR/focus-select.txt"
expect_eq "$events" "$(printf 'GreenTask\t1 of 2')" "the focus event of the selection"
expect_eq "$(access tree TVanMainForm 3000 | awk -F'\t' '$1 == "focus" { print $2 "/" $3 }')" Task/GreenTask \
    "the focus after the selection"

# Pointing at a cell moves the cursor there, and the focus with it.
watch_focus "$E2E_DIR/focus-mouse.txt" 1
mouse_move $((cx + 40 * 2 + 20)) $((cy + 20))
focus_events "$E2E_DIR/focus-mouse.txt"
expect_eq "$events" "$(printf 'Gamma\t3 of 3')" "the focus event of pointing at the third Program cell"

# The default action runs the item, as Enter does: the writer starts and the window hides.
access do TVanMainForm Gamma >/dev/null || fail "the default action of Gamma was refused"
got=$(writer_args "$out" 10000) || fail "Gamma's default action ran nothing"
expect_eq "$got" gamma "the item the default action ran"
wait_launcher hidden 3000 || fail "the launcher window stayed up after the default action"
exit_via_tray_menu "$pid"
