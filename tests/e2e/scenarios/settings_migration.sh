# Settings of an older "vantrel" folder are copied once into "vantrel64"; the next start copies nothing again, so
# changes made to the copies stay. A first start during which a backup tool holds one of the old files says so and
# leaves the copy to the next start.

appdata=$(appdata_dir)
old="$appdata/vantrel"
new="$appdata/vantrel64"
write_ini "$old/vantrel.ini" $'[Option]\nColMax=9\n[Program]\nTitle0=Migrated marker\nExeFileName0=C:\\windows\\notepad.exe\nIconIndex0=0\nStatus0=0'
write_ini "$old/vantrel3.ini" $'[Option]\nColMax=5'
old_sums=$(cd "$old" && md5sum vantrel.ini vantrel3.ini)
[ -e "$new" ] && fail "the fresh prefix already has $new"

probe hold-file "$(winpath "$old/vantrel3.ini")" 15000 >"$E2E_DIR/holder.out" &
holder=$!
wait_file "$E2E_DIR/holder.out" 5000 || fail "the backup tool could not hold vantrel3.ini"
start_vantrel
pid=$E2E_LAST_PID
wait_window '#32770' vantrel 15000 || fail "no message about the settings that could not be copied"
text=$(message_text | paste -sd '|')
[[ $text == *'could not be copied'*'vantrel\vantrel3.ini'* ]] || fail "the message does not name the file not copied"
answer_message
wait_tray_icon shown 10000 || fail "vantrel did not go on after the message"
exit_via_tray_menu "$pid"
wait "$holder"
[ -e "$new/vantrel.ini" ] && fail "a vantrel.ini in vantrel64 would stop the next start's copy"

start_vantrel
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show in the notification area"
[ -f "$new/vantrel.ini" ] || fail "vantrel.ini was not copied into vantrel64"
cmp -s "$old/vantrel3.ini" "$new/vantrel3.ini" || fail "vantrel3.ini was not copied unchanged into vantrel64"
[ -e "$new/vantrel2.ini" ] && fail "a vantrel2.ini appeared that the old folder never had"
expect_eq "$(ini_value "$new/vantrel.ini" Program Title0)" 'Migrated marker' "Program item of the copied vantrel.ini"
expect_eq "$(ini_value "$new/vantrel.ini" Option ColMax)" 9 "ColMax of the copied vantrel.ini"
exit_via_tray_menu "$pid"
expect_eq "$(cd "$old" && md5sum vantrel.ini vantrel3.ini)" "$old_sums" "files of the old folder"

# Change the copies; a second start must keep the changes.
text=$(ini_text "$new/vantrel.ini")
write_ini "$new/vantrel.ini" "${text//Migrated marker/Changed after the move}"
write_ini "$new/vantrel3.ini" $'[Option]\nColMax=6'

start_vantrel
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show at the second start"
expect_eq "$(ini_value "$new/vantrel.ini" Program Title0)" 'Changed after the move' \
    "Program item of vantrel64\\vantrel.ini after the second start"
expect_eq "$(ini_value "$new/vantrel3.ini" Option ColMax)" 6 "ColMax of vantrel64\\vantrel3.ini after the second start"
exit_via_tray_menu "$pid"
