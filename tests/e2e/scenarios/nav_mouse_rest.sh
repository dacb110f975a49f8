# Keys keep working with the mouse resting over the launcher window. With the mouse where the window opens (the
# screen's centre): the item under the cursor runs with Enter, and after the next show a direct key and Right
# then Enter run the second item. With the mouse resting on a Program cell and Right pressed, a window above
# the mouse going away (the system then reports a mouse move without the mouse moving) does not put the cursor
# back under the mouse: Enter runs the item the key reached.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
out="$E2E_DIR/args.txt"
write_ini "$ini" "[Option]
ColMax=7
[Program]
$(writer_item 0 First first 0)
$(writer_item 1 Second second "$(direct_key_status B)")
$(writer_item 2 Third third 0)"
VANTREL_ARGWRITER_OUT=$(winpath "$out") start_vantrel
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show"

# show_at_rest WHAT: the hot key with the mouse resting where it is, until the window is up and painted.
show_at_rest() {
    hot_key
    wait_launcher shown 5000 || fail "the hot key did not show the launcher window ($1)"
    sleep 0.3
}
# run_keys EXPECTED KEYS...: the keys run the writer with EXPECTED and the window hides.
run_keys() {
    local expected=$1 got
    shift
    key "$@"
    got=$(writer_args "$out" 5000) || { screenshot "nothing-after-$*"; fail "'$*' ran nothing (expected '$expected')"; }
    expect_eq "$got" "$expected" "item run by '$*' with the mouse resting over the launcher"
    wait_launcher hidden 3000 || fail "the launcher window stayed up after '$*'"
}

mouse_move $((E2E_WIDTH / 2)) $((E2E_HEIGHT / 2))
show_at_rest "first show, mouse at the centre"
read -r left top right bottom _ <<<"$(launcher_info)"
[ $((E2E_WIDTH / 2)) -gt "$left" ] && [ $((E2E_WIDTH / 2)) -lt "$right" ] && [ $((E2E_HEIGHT / 2)) -gt "$top" ] &&
    [ $((E2E_HEIGHT / 2)) -lt "$bottom" ] || fail "the mouse at the centre is not over the launcher ($left $top $right $bottom)"
run_keys first Return
show_at_rest "after a run"
run_keys second b
show_at_rest "after a second run"
run_keys second Right Return
show_at_rest "after a third run"
run_keys first Return

# The mouse comes to rest on the first Program cell; Right moves the cursor on.
mouse_move 900 100
show_at_rest "with the mouse away"
read -r left top _ _ _ <<<"$(launcher_info)"
label=$(label_height) || fail "cannot measure the caption font"
cx=$((left + 8 + 2 + 20))
cy=$((top + label + 4 + 2 + 20))
mouse_move "$cx" "$cy"
sleep 0.3
key Right
sleep 0.3
# A window that never takes the activation comes up over the mouse and goes again.
start_program "$(taskwin green)" --count 0 --pad $((cx - 40)) $((cy - 30))
wait_window VanPadWindow Pad 10000 || fail "the window over the mouse did not appear"
probe post VanPadWindow 0x0010 0 0 >/dev/null || fail "cannot close the window over the mouse"
wait_gone VanPadWindow 3000 || fail "the window over the mouse did not go"
sleep 0.5
wait_launcher shown 500 || fail "the launcher went away with the window over the mouse"
run_keys second Return
exit_via_tray_menu "$pid"
