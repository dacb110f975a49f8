# Files dragged from another program onto the registration dialog with the real mouse: a program, a shell
# shortcut and a program whose name holds "%", dragged together out of a window as Explorer drags them
# (an OLE drag with the file list), land at the cell they are dropped on in the order they were dragged; the
# shortcut becomes its target with the whole of its long arguments and its working folder, titled by the
# shortcut's name. OK writes them all, and the launcher runs the program whose name holds "%".
# e2e-limit: 150
source "$(dirname "$E2E_SCENARIO")/registration_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
write_ini "$ini" "[Option]
ColMax=7
[Program]
$(writer_item 0 Alpha a 0)
$(writer_item 1 Bravo b 0)"
writer=$(writer_win)
source_exe="$E2E_BUILD/fixtures/vandragsource.exe"
links="$WINEPREFIX/drive_c/links"
mkdir -p "$links"
# Arguments longer than the 260 characters a path takes.
long_args="--from-link \"two words\" $(printf 'x%.0s' $(seq 1 300))"
wine "$source_exe" --shortcut 'C:\links\Writer shortcut.lnk' "$writer" "$long_args" 'C:\windows' ||
    fail "cannot make the shortcut"
[ -s "$links/Writer shortcut.lnk" ] || fail "the shortcut file is missing"

# "%WINDIR%" is a variable's name: expanded, the path would name another file.
mkdir -p "$WINEPREFIX/drive_c/deals"
cp "$E2E_BUILD/fixtures/argwriter/argwriter.exe" "$WINEPREFIX/drive_c/deals/arg%WINDIR%writer.exe"
percent='C:\deals\arg%WINDIR%writer.exe'
out="$E2E_DIR/args.txt"

VANTREL_ARGWRITER_OUT=$(winpath "$out") start_resident
open_registration
VANTREL_DRAGSOURCE_OUT=$(winpath "$E2E_DIR/drag.txt") start_program "$source_exe" "$writer" 'C:\links\Writer shortcut.lnk' \
    "$percent"
wait_window VanDragSource 'Drag source' 10000 || fail "the drag source did not appear"
sleep 0.5

# Press in the source, move over the dialog in steps, release on the second Program cell.
read -r tx ty <<<"$(cell_centre 1)"
xdotool mousemove 120 110 sleep 0.3 mousedown 1 sleep 0.5
for i in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove $((120 + (tx - 120) * i / 10)) $((110 + (ty - 110) * i / 10)) sleep 0.15
done
xdotool sleep 0.5 mouseup 1
wait_file "$E2E_DIR/drag.txt" 10000 || fail "the drag did not end"
effect=$(tr -d '\r' <"$E2E_DIR/drag.txt")
screenshot registration-dropped
expect_eq "$effect" "effect=1" "the drop effect the dialog answered (copy)"
names='Alpha|argwriter.exe|Writer shortcut|arg%WINDIR%writer.exe|Bravo'
expect_eq "$(grid_names "$PROGRAM_GRID" 5)" "$names" "the Program grid after the drop"

activate_dialog "$REG"
click_button IDOK
wait_dialog_gone "$REG" 5000 || fail "OK did not close the dialog"
wait_ini_value "$ini" Program Title2 'Writer shortcut' 5000 || fail "OK did not write the dropped files ($(program_titles "$ini"))"
expect_eq "$(program_titles "$ini")" "$names" "the Program tray in the file"
expect_eq "$(ini_value "$ini" Program ExeFileName1)" "$writer" "the dropped program"
expect_eq "$(ini_value "$ini" Program ExeFileName2)" "$writer" "the shortcut's target"
expect_eq "$(ini_value "$ini" Program ArgumentName2)" "$long_args" "the shortcut's arguments"
expect_eq "$(ini_value "$ini" Program DirectoryName2)" 'C:\windows' "the shortcut's working folder"

show_launcher
key Right Right Right Return
wait_file "$out" 10000 || fail "the program whose name holds % did not run"
cwd=$(sed -n 's/^cwd=//p' "$out" | tr -d '\r')
expect_eq "$(tr '[:upper:]' '[:lower:]' <<<"${cwd%\\}")" 'c:\deals' "the working folder of the % program"
