# The control-key layout works like the cursor keys (Ctrl+X down, Ctrl+D right, Ctrl+E up, Ctrl+M runs,
# Ctrl+J hides), and Ctrl+Q reads the one next key in quick mode: D and S go to the end and the start of
# the row, C and R change the tray by two steps. Each show ends by running the item under the cursor,
# which tells where the cursor went.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
out="$E2E_DIR/args.txt"
# Three columns: the Program tray has the rows p0 p1 p2 and p3 p4.
write_ini "$ini" "[Option]
ColMax=3
[Program]
$(for i in 0 1 2 3 4; do writer_item "$i" "P$i" "p$i" 0; done)"
VANTREL_ARGWRITER_OUT=$(winpath "$out") start_vantrel
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show"

# Quick D goes to the row's end; the S after it is a plain key again (no item carries S), where a quick
# mode that lasted would take it to the row's start.
keys_run "$out" p2 ctrl+q d s ctrl+m
# Quick S goes to the row's start, not one cell left.
keys_run "$out" p0 Right Right ctrl+q s Return
# Quick C moves two trays down (past the Task tray into the System tray); quick R two trays up, back into
# the Program tray's first row in the column left by Right, where plain PageUp would land in the last row.
keys_run "$out" p1 Down Right ctrl+q c ctrl+q r Return
keys_run "$out" p1 ctrl+x ctrl+d ctrl+e ctrl+m

show_launcher "before Ctrl+J"
key ctrl+j
wait_launcher hidden 3000 || fail "Ctrl+J did not hide the launcher window"
sleep 0.5
[ ! -e "$out" ] || fail "Ctrl+J ran '$(writer_args "$out" 0)'"
exit_via_tray_menu "$pid"
