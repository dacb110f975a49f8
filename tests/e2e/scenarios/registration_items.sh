# The registration dialog's right-click menu with the real mouse and keys: "&Delete" asks in "Delete icon"
# ("&No" and Escape keep the item, "&Yes" removes it); "&Add" takes a path typed into the file dialog and puts
# the file at the clicked cell, and a path that names no file gives "The file does not exist."; "&Do not use
# item" on a built-in System item hides it from the launcher after OK. Then "&Setting..." of the launcher's
# popup menu renames an item: the file holds the new title at once and the launcher shows it.
# e2e-limit: 180
source "$(dirname "$E2E_SCENARIO")/registration_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
write_ini "$ini" "[Option]
ColMax=7
[Program]
$(writer_item 0 Alpha a 0)
$(writer_item 1 Bravo b 0)
$(writer_item 2 Charlie c 0)
[System]
Title0=This PC
ExeFileName0=MyComputer
IconFileName0=MyComputer
IconIndex0=-1
Status0=11
Title1=Recycle Bin
ExeFileName1=DustBox
IconFileName1=DustBox
IconIndex1=-1
Status1=11"
start_resident
open_registration

# Delete: No, then Escape, keep Bravo; Yes removes it.
for answer in No Escape Yes; do
    cell_menu 1
    expect_eq "$(menu_state '&Setting...')" normal "state of &Setting... on an item"
    expect_eq "$(menu_state '&Add')" normal "state of &Add on an item"
    choose_menu_item '&Delete'
    wait_window '#32770' 'Delete icon' 5000 || fail "&Delete did not ask in 'Delete icon'"
    question=$(probe child-texts '#32770' 'Delete icon' | tr -d '\r' | paste -sd '|')
    case "$question" in *Bravo*'Do you want to delete it?|&Yes|&No'*) ;; *) fail "the question is '$question'" ;; esac
    case "$answer" in
    No) click_button IDCANCEL 'Delete icon' ;;
    Escape) wait_foreground 'Delete icon' 5000 || fail "'Delete icon' is not in front"; key Escape ;;
    Yes) click_button IDOK 'Delete icon' ;;
    esac
    wait_dialog_gone 'Delete icon' 5000 || fail "$answer did not close 'Delete icon'"
    [ "$answer" = Yes ] && expected='Alpha|Charlie' || expected='Alpha|Bravo|Charlie'
    expect_eq "$(grid_names "$PROGRAM_GRID" "$(tr '|' '\n' <<<"$expected" | wc -l)")" "$expected" \
        "the Program grid after $answer"
done

# Add with a typed path, at the clicked cell (Charlie's, now the second).
writer=$(writer_win)
add_typed 1 "$writer"
wait_dialog_gone 'Add file' 5000 || fail "the file dialog stayed open"
wait_name argwriter.exe 5000 || fail "the added file is not the named item ($(control 3 "$REG" 1102))"
# A path that names no file.
add_typed 0 'C:\windows\no-such-program.exe'
wait_window '#32770' vantrel 5000 || fail "no message for a file that does not exist"
expect_eq "$(probe child-texts '#32770' vantrel | tr -d '\r' | grep -c '^The file does not exist.$')" 1 \
    "the message for a file that does not exist"
key Return
wait_dialog_gone vantrel 5000 || fail "the message stayed"
screenshot registration-added

# "&Do not use item" on the first built-in System item.
key ctrl+Tab
wait_control 5 "$REG" "$SYSTEM_GRID" 1 3000 || fail "Ctrl+Tab did not show the System page"
cell_menu 0 "$SYSTEM_GRID"
expect_eq "$(menu_state '&Do not use item')" normal "state of &Do not use item on a built-in item"
choose_menu_item '&Do not use item'
screenshot registration-not-used
click_button IDOK
wait_dialog_gone "$REG" 5000 || fail "OK did not close the dialog"
wait_ini_value "$ini" Program Title1 argwriter.exe 5000 || fail "OK did not write the Program tray ($(program_titles "$ini"))"
expect_eq "$(program_titles "$ini")" 'Alpha|argwriter.exe|Charlie' "the Program tray after OK"
expect_eq "$(ini_items "$ini" Program | awk -F'\t' '$1 == 1 { print $3 }')" "$writer" "the added item's program"
system=$(ini_items "$ini" System)
echo "$system" >"$E2E_DIR/system.txt"
this_pc=$(awk -F'\t' '$2 == "This PC" { print $1, (int($6) % 8 >= 4 ? 1 : 0) }' <<<"$system")
read -r k not_used <<<"$this_pc"
expect_eq "$not_used" 1 "This PC's not-used bit"
[ "$k" -ge "$(shown_count "$ini" System)" ] || fail "This PC is not behind the used System items (see system.txt)"

show_launcher
tree=$(access tree TVanMainForm 5000) || fail "the launcher window has no accessible client object"
echo "$tree" >"$E2E_DIR/tree.txt"
awk -F'\t' '$1 == "item" && $2 == "System" && $3 == "Recycle Bin" { f = 1 } END { exit !f }' <<<"$tree" ||
    fail "the launcher does not show Recycle Bin (see tree.txt)"
awk -F'\t' '$1 == "item" && $2 == "System" && $3 == "This PC" { f = 1 } END { exit !f }' <<<"$tree" &&
    fail "the launcher still shows This PC"

# "&Setting..." of the launcher's popup menu on Alpha, the cursor's first cell.
key Menu
wait_window '#32768' 5000 || fail "the menu key did not open the item's popup menu"
choose_menu_item '&Setting...'
wait_window '#32770' 'Icon setting' 5000 || fail "&Setting... did not open 'Icon setting'"
wait_foreground 'Icon setting' 5000 || fail "'Icon setting' is not in front"
# The dialog took the foreground from the launcher, which went as it does whenever it loses it.
wait_launcher hidden 3000 || fail "the launcher stayed up behind 'Icon setting'"
expect_eq "$(control 3 'Icon setting' 1124)" Alpha "the title in 'Icon setting'"
key alt+t ctrl+a
xdotool type --delay 60 'Alpha renamed'
wait_control 3 'Icon setting' 1124 'Alpha renamed' 3000 || fail "the title did not take the typed text"
click_button IDOK 'Icon setting'
wait_dialog_gone 'Icon setting' 5000 || fail "OK did not close 'Icon setting'"
wait_ini_value "$ini" Program Title0 'Alpha renamed' 5000 || fail "the file does not hold the new title at once"
expect_eq "$(program_titles "$ini")" 'Alpha renamed|argwriter.exe|Charlie' "the Program tray after the setting"
show_launcher
access tree TVanMainForm 5000 | awk -F'\t' '$1 == "item" && $2 == "Program" && $3 == "Alpha renamed" { f = 1 } END { exit !f }' ||
    fail "the launcher does not show the new title"
