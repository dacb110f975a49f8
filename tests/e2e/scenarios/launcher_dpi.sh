# At 144 dpi (150 %) the launcher is laid out 1.5 times as large as at 96: with ColMax 7 it is 447 pixels wide
# instead of 298, the cells follow each other every 60 pixels instead of 40 (as a screen reader reads their bounds),
# and the icons are 48 pixels, taken from the programs' own 48-pixel images. The 150 % screenshot is the one in the
# README beside the 100 % one. "Icon setting" follows too: its icon strip's cells are 60 pixels apart and the ten
# icons of a file fit without a scroll bar; and the item names of "Registering Icons" are written 1.5 times as large.
# e2e-limit: 120
source "$(dirname "$E2E_SCENARIO")/registration_helpers.bash"


# set_dpi DPI: the user's screen setting, read by Wine's server and desktop when they start.
set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
        fail "cannot set LogPixels to $1"
    wine_stop "$WINEPREFIX"
    wine_forget_server "$WINEPREFIX"
    wine_start_server "$WINEPREFIX" || fail "the Wine server did not start again"
    # Started with nothing attached, as the harness starts the first desktop.
    timeout 30 wine "$E2E_BIN/vanprobe.exe" wait-window Shell_TrayWnd 20000 >/dev/null 2>&1 </dev/null ||
        fail "the desktop did not start at $1 dpi"
}

# cell_bounds TREE N: "left top width height" of Program cell N as a screen reader reads it.
cell_bounds() {
    awk -F'\t' -v n="$2" '$1 == "item" && $2 == "Program" { if (i++ == n) { print $10; exit } }' <<<"$1" | tr ',' ' '
}

# measure DPI: shows the launcher and leaves its width, cell pitch, cell size and the drawn extent of cell 1's icon
# in width, pitch, extent and icon; the screenshot is DPI.png.
measure() {
    show_launcher "at $1 dpi"
    screenshot "$1"
    read -r left top right bottom _ <<<"$(launcher_info)"
    width=$((right - left))
    local tree c0 c1
    tree=$(access tree TVanMainForm 5000) || fail "no accessible cells at $1 dpi"
    echo "$tree" >"$E2E_DIR/tree-$1.txt"
    read -r c0x c0y c0w _ <<<"$(cell_bounds "$tree" 0)"
    read -r c1x c1y c1w c1h <<<"$(cell_bounds "$tree" 1)"
    [ -n "$c1x" ] || fail "the tree has no second Program cell at $1 dpi (see tree-$1.txt)"
    pitch=$((c1x - c0x))
    extent=$c0w
    # The icon's drawn extent inside cell 1 (no cursor there): what differs from the cell's background.
    icon=$(convert "$E2E_DIR/$1.png" -crop "${c1w}x${c1h}+${c1x}+${c1y}" +repage -trim -format '%w %h' info: 2>/dev/null)
    # The cursor cell shows its icon too, inside the button edges.
    local inner=$((c0w - 6)) cursor_icon
    cursor_icon=$(convert "$E2E_DIR/$1.png" -crop "${inner}x${inner}+$((c0x + 3))+$((c0y + 3))" +repage -trim \
        -format '%w' info: 2>/dev/null)
    [ "${cursor_icon:-0}" -ge $((c0w / 2)) ] || fail "the cursor cell shows no icon at $1 dpi ($cursor_icon pixels)"
    note "$1 dpi: window ${width}x$((bottom - top)) at $left,$top, cell pitch $pitch, cell $extent, icon drawn $icon"
}

ini="$(settings_dir)/vantrel.ini"
# The first item takes its icon from a file of ten icons.
ten=$(winpath "$E2E_BUILD/fixtures/vantenicons.dll")
write_ini "$ini" "$(program_items 10 | sed -e "s|^IconFileName0=.*|IconFileName0=${ten//\\/\\\\}|")"
start_resident
measure 96
expect_eq "$width" 298 "launcher width at 96 dpi"
expect_eq "$pitch" 40 "cell pitch at 96 dpi"
read -r icon96w icon96h <<<"$icon"
hot_key
wait_launcher hidden 3000 || fail "the hot key did not hide the launcher window"
exit_via_tray_menu "$pid"

set_dpi 144
# The same windows as in the 100 % picture of the README, so that the two pictures show the same trays.
open_task_windows "blue Documents 60" "green Calculator 120" "red Editor 180"
start_resident "at 144 dpi"
measure 144
expect_eq "$width" 447 "launcher width at 144 dpi (1.5 x 298)"
expect_eq "$pitch" 60 "cell pitch at 144 dpi (1.5 x 40)"
expect_eq "$extent" 59 "the cursor square at 144 dpi"
read -r icon144w icon144h <<<"$icon"
# The same icon, drawn from its 48-pixel image: 1.5 times as large as at 96 dpi, give or take the image's own margins.
for pair in "$icon96w $icon144w width" "$icon96h $icon144h height"; do
    read -r small large what <<<"$pair"
    [ -n "$small" ] && [ "$small" -gt 0 ] || fail "no icon drawn in cell 1 at 96 dpi"
    [ $((large * 2)) -ge $((small * 3 - 4)) ] && [ $((large * 2)) -le $((small * 3 + 4)) ] ||
        fail "the icon's $what is $large pixels at 144 dpi against $small at 96 (not 1.5 times)"
done
read -r left top right bottom _ <<<"$(launcher_info)"
import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$E2E_DIR/launcher-window-150.png"
# The mouse finds the cells at the new pitch: the middle of cell 3 names "Program 3".
mouse_move $((c0x + 3 * 60 + 30)) $((c0y + 30))
sleep 0.5
focus=$(access tree TVanMainForm 3000 | awk -F'\t' '$1 == "focus" { print $2 "/" $3 }')
expect_eq "$focus" "Program/Program 3" "the cell under the mouse at 144 dpi"

# "Icon setting" of the first item: the strip's cells 60 pixels apart as a screen reader reads them, and the
# file's ten icons in a strip of one row of cells and its frame, with no scroll bar under it.
click $((c0x + 30)) $((c0y + 30)) 3
wait_window '#32768' 3000 || fail "no popup menu on the first Program cell at 144 dpi"
choose_menu_item '&Setting...'
wait_window '#32770' 'Icon setting' 5000 || fail "&Setting... did not open 'Icon setting' at 144 dpi"
sleep 0.5
screenshot icon-setting-144
strip=$(access tree VantrelIconStrip 3000) || fail "no icon strip to read at 144 dpi"
echo "$strip" >"$E2E_DIR/strip-144.txt"
expect_eq "$(awk -F'\t' '$1 == "item"' <<<"$strip" | wc -l)" 10 "icons in the strip"
read -r s0x _ <<<"$(awk -F'\t' '$1 == "item" { print $10; exit }' <<<"$strip" | tr ',' ' ')"
read -r s1x _ <<<"$(awk -F'\t' '$1 == "item" { if (n++ == 1) { print $10; exit } }' <<<"$strip" | tr ',' ' ')"
expect_eq "$((s1x - s0x))" 60 "the strip's cell pitch at 144 dpi"
IFS=, read -r sl st sr sb <<<"$(control 4 'Icon setting' 1129)"
note "144 dpi: icon strip ${sl},${st} to ${sr},${sb}"
[ $((sr - sl)) -ge 602 ] || fail "the strip is too narrow for ten icons at 144 dpi ($((sr - sl)) pixels)"
expect_eq "$((sb - st))" 62 "the strip's height at 144 dpi: one row of 60-pixel cells and its frame, no scroll bar"
key Escape
wait_dialog_gone 'Icon setting' 3000 || fail "Escape did not close 'Icon setting'"
# The dialog took the foreground from the launcher, which went as it always does when another window is chosen.
wait_launcher hidden 3000 || fail "the launcher stayed up behind 'Icon setting'"

# "Registering Icons": the name under the mouse in a font scaled like the cells (14 pixels at 96 dpi).
open_registration
# The helper's 96-dpi middle of cell 1 lies inside cell 1 of the 60-pixel grid too.
read -r x y <<<"$(cell_centre 1 "$PROGRAM_GRID")"
mouse_move "$x" "$y"
wait_name 'Program 1' 3000 || fail "the name panel does not name the item under the mouse at 144 dpi"
screenshot registration-144
IFS=, read -r nl nt nr nb <<<"$(control 4 "$REG" 1102)"
text=$(convert "$E2E_DIR/registration-144.png" -crop "$((nr - nl))x$((nb - nt))+$nl+$nt" +repage -trim -format '%h' info:)
note "144 dpi: the item name is $text pixels high"
[ "${text:-0}" -ge 16 ] || fail "the item name is $text pixels high at 144 dpi: its font did not follow the scale"
key Escape
wait_dialog_gone "$REG" 3000 || fail "Escape did not close '$REG'"
exit_via_tray_menu "$pid"
