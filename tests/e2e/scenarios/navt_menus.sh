# A right click on a Task item opens the popup menu of a task window: minimise (greyed for a window that is
# already minimised), maximise and close, then the two "All" commands; a right click on the C:\ drive of the
# System tray offers no window commands, no "Run as administrator" and no drive commands (C: is no USB or
# network drive). Escape closes either menu and nothing happens to the windows or the drive. Chosen, the
# window commands act on the window the menu was opened for, and the launcher stays up in front.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

open_task_windows "green B 120" "red A 180"
start_resident
ini="$(settings_dir)/vantrel.ini"
wait_file "$ini" 5000 || fail "the first start wrote no settings file"
# The index of C:\ among the System items; all items before it are shown ones.
drive=$(ini_items "$ini" System | awk -F'\t' '$3 == "C:\\" { print $1; exit }')
[ -n "$drive" ] || fail "no System item for C:\\"
shown=$(shown_count "$ini" System)
[ "$drive" -lt "$shown" ] || fail "the C:\\ item ($drive) is not among the $shown shown System items"

# A, the topmost window, is minimised; the tray holds B, A.
probe post VanTaskWindow 0x112 0xF020 0 >/dev/null || fail "cannot minimise window A"
wait_task_iconic A yes 3000 || fail "window A did not minimise"
show_launcher
read -r left top _ _ _ <<<"$(launcher_info)"
label=$(label_height) || fail "cannot measure the caption font"
columns=7
# No Program items: that tray is one empty row, and so is the Task tray's one row of two.
task_top=$((top + 2 * label + 42 + 8))
system_top=$((top + 3 * label + 42 + 42 + 12))
windows_before=$(probe list | awk -F'\t' '$6 == 1' | wc -l)

# open_menu WHAT X Y EXPECTED: right-clicks there; the menu must hold exactly EXPECTED ("state<TAB>text"
# lines, separators included); Escape must close it and leave the launcher up.
open_menu() {
    local what=$1 x=$2 y=$3 expected=$4 items
    click "$x" "$y" 3
    wait_window '#32768' 3000 || fail "$what: the right click opened no menu"
    items=$(menu_items | cut -f2,3 | tr -d '\r') || fail "$what: cannot read the menu"
    note "$what: $(tr '\t\n' ' |' <<<"$items")"
    screenshot "menu-$what"
    [ "$items" = "$expected" ] || fail "$what: the menu holds '$(tr '\t\n' ' |' <<<"$items")', expected '$(tr '\t\n' ' |' <<<"$expected")'"
    key Escape
    wait_gone '#32768' 3000 || fail "$what: Escape did not close the menu"
    sleep 0.3
    wait_launcher shown 1000 || fail "$what: the launcher went away with the menu"
}

task_menu() {
    printf '%s\t&Minimize \nnormal\tMa&ximize\nseparator\t\nnormal\t&Close\nseparator\t\nnormal\tAll c&lose\nnormal\t&All minimize ' "$1"
}
open_menu task-B $((left + 8 + 2 + 20)) $((task_top + 2 + 20)) "$(task_menu normal)"
open_menu task-A $((left + 8 + 40 + 2 + 20)) $((task_top + 2 + 20)) "$(task_menu grayed)"

# Only "&Setting..." may come before the "All" commands, when the icon setting dialog is there to open.
cx=$((left + 8 + 40 * (drive % columns) + 2 + 20))
cy=$((system_top + 40 * (drive / columns) + 2 + 20))
click "$cx" "$cy" 3
wait_window '#32768' 3000 || fail "drive: the right click on C:\\ opened no menu"
items=$(menu_items | cut -f2,3 | tr -d '\r') || fail "drive: cannot read the menu"
note "drive: $(tr '\t\n' ' |' <<<"$items")"
screenshot menu-drive
rest=$(sed -e '/^normal\t&Setting\.\.\.$/{N;s/^normal\t&Setting\.\.\.\nseparator\t$//;}' <<<"$items" | sed '/^$/d')
expected=$(printf 'normal\tAll c&lose\nnormal\t&All minimize ')
[ "$rest" = "$expected" ] || fail "the menu of the C:\\ drive holds '$(tr '\t\n' ' |' <<<"$items")'"
key Escape
wait_gone '#32768' 3000 || fail "drive: Escape did not close the menu"
sleep 0.5
wait_launcher shown 1000 || fail "drive: the launcher went away with the menu"

# Nothing was run, closed, restored or maximised.
expect_eq "$(probe list | awk -F'\t' '$6 == 1' | wc -l)" "$windows_before" "visible windows after the three menus"
expect wait_task_iconic A yes 100 -- "window A is no longer minimised after its menu closed"
style=$(probe list | awk -F'\t' '$3 == "VanTaskWindow" && $4 == "B" { print $7; exit }')
[ -n "$style" ] || fail "window B is gone after its menu closed"
(((style & 0x21000000) == 0)) || fail "window B was minimised or maximised by its menu (style $style)"
expect_eq "$(foreground_title)" vantrel "the foreground window after the menus"

# choose_task_command CELL CAPTION: that command from the menu of Task cell CELL.
choose_task_command() {
    click $((left + 8 + 40 * $1 + 2 + 20)) $((task_top + 2 + 20)) 3
    wait_window '#32768' 3000 || fail "no menu for Task cell $1"
    choose_menu_item "$2"
    sleep 0.5
    wait_launcher shown 2000 || fail "the launcher did not stay up after '$2'"
    wait_foreground vantrel 2000 || fail "'$2' left '$(foreground_title)' in front of the launcher"
}

choose_task_command 0 'Ma&ximize'
style=$(probe list | awk -F'\t' '$3 == "VanTaskWindow" && $4 == "B" { print $7; exit }')
(((style & 0x01000000) != 0)) || fail "Ma&ximize did not maximise window B (style $style)"
# The launcher lies over the maximised window, where the next click can reach it (on a loaded machine the window
# manager may take a moment to restack them).
upper() { probe list | awk -F'\t' '($3 == "TVanMainForm" && $4 == "vantrel") || ($3 == "VanTaskWindow" && $4 == "B") { print $4; exit }'; }
launcher_above() { [ "$(upper)" = vantrel ]; }
wait_until 2000 launcher_above || expect_eq "$(upper)" vantrel "the upper of the launcher and the maximised window"
screenshot after-maximize

choose_task_command 1 '&Close'
program_exited "${task_pid[A]}" 5000 || fail "&Close on the cell of window A did not end its program"
kill -0 "${task_pid[B]}" 2>/dev/null || fail "&Close on window A ended window B"
