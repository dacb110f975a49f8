# Windows' apps switched to dark while vantrel runs: the next show paints the launcher in the dark scheme (dark grey
# behind everything, light captions, white names on a darker field, the box cursor in light blue) while the
# direct-key badges keep the user's colours; switched back to light while the window is up, it is repainted light
# at once; and with high contrast on over dark, the system's high-contrast scheme wins. As in the high-contrast
# scenario, the high-contrast colours are set before vantrel starts (a program under Wine sees system colours set
# by another program only from its next start); the switches themselves happen while it runs. Last, with Windows
# light again, "Colours: Dark" chosen from the keyboard on the option dialog makes the launcher and the grids of
# Registering Icons dark and is saved.
source "$(dirname "$E2E_SCENARIO")/registration_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
write_ini "$ini" "[Option]
ColMax=10
FrameFlag=0
BackColor=16711935
TextColor=65280
$(program_items 3 | sed -e 's/^Status1=0$/Status1=16896/')"

count() { probe find-color "$1" 8 "$2" "$3" "$4" "$5"; }

access high-contrast off window=000000 windowtext=FFFFFF highlight=00FF00 highlighttext=000000 >"$E2E_DIR/colours.txt" ||
    fail "the system colours could not be set ($(cat "$E2E_DIR/colours.txt"))"
start_resident
label=$(label_height) || fail "cannot measure the caption font"

show_launcher "light"
screenshot light
read -r left top right bottom _ <<<"$(launcher_info)"
face=$(pixel_at $((left + 4)) $((top + 4)))
note "light: background $face"
[ "$face" != 202020 ] || fail "the launcher is dark before the switch"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher window"

access dark-mode on >"$E2E_DIR/dark-on.txt" || fail "the apps could not be made dark ($(cat "$E2E_DIR/dark-on.txt"))"
show_launcher "dark"
screenshot dark
read -r left top right bottom _ <<<"$(launcher_info)"
bx=$((left + 8))
by=$((top + label + 4))
expect_eq "$(pixel_at $((left + 4)) $((top + 4)))" 202020 "the window's background in the dark scheme"
# The light face nowhere outside the icons: not in the Program tray's empty cells, not around the Task tray.
expect_eq "$(count "$face" $((bx + 122)) "$by" "$right" $((by + 42)))" 0 "light face in the empty Program cells"
expect_eq "$(count "$face" "$left" $((by + 42)) "$right" $((by + 42 + label + 46)))" 0 "light face around the Task tray"
cursor=$(count 4CC2FF "$bx" "$by" $((bx + 44)) $((by + 44)))
note "dark: $cursor cursor pixels around the first cell"
[ "$cursor" -ge 280 ] || fail "the box cursor is not drawn in the dark scheme's light blue ($cursor pixels)"
# The second Program item carries the direct key B: its badge keeps the user's colours, green on magenta.
badge=$(count FF00FF $((bx + 42)) $((by + 2)) $((bx + 58)) $((by + 18)))
[ "$badge" -ge 40 ] || fail "the badge lost the user's background colour in the dark scheme ($badge pixels)"
[ "$(count 00FF00 $((bx + 44)) $((by + 4)) $((bx + 52)) $((by + 16)))" -ge 4 ] || fail "the badge lost the user's text colour"
[ "$(count DADADA "$bx" $((top + 2)) $((bx + 60)) $((top + label + 2)))" -ge 10 ] || fail "the caption is not light"
[ "$(count 2B2B2B "$bx" $((bottom - 32)) "$right" $((bottom - 10)))" -ge 200 ] || fail "no dark name field"
[ "$(count FFFFFF "$bx" $((bottom - 32)) "$right" $((bottom - 10)))" -ge 10 ] || fail "the name is not white"

# Back to light while the window is up: repainted at once, without another show.
access dark-mode off >"$E2E_DIR/dark-off.txt" || fail "the apps could not be made light again"
waited=0
until [ "$(pixel_at $((left + 4)) $((top + 4)))" = "$face" ]; do
    [ "$waited" -ge 5000 ] && fail "the window stayed dark after the apps went light"
    sleep 0.2
    waited=$((waited + 300))
done
screenshot light-again
[ "$(count FF00FF "$bx" "$by" $((bx + 44)) $((by + 44)))" -ge 280 ] || fail "the cursor frame is not back in BackColor"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher window"

# High contrast over dark: the system's scheme, not the dark one.
access dark-mode on >/dev/null || fail "the apps could not be made dark again"
access high-contrast on >"$E2E_DIR/hc-on.txt" || fail "high contrast could not be switched on ($(cat "$E2E_DIR/hc-on.txt"))"
show_launcher "high contrast over dark"
screenshot high-contrast-over-dark
read -r left top right bottom _ <<<"$(launcher_info)"
expect_eq "$(pixel_at $((left + 4)) $((top + 4)))" 000000 "the window's background with high contrast over dark"
expect_eq "$(count 202020 $((bx + 122)) "$by" "$right" $((by + 42)))" 0 "the dark background in the empty Program cells"
[ "$(count 00FF00 "$bx" "$by" $((bx + 44)) $((by + 44)))" -ge 280 ] || fail "the cursor is not in the highlight colour"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher window"

# Windows light, high contrast off: the option alone makes the launcher dark.
access high-contrast off >/dev/null || fail "high contrast could not be switched off"
access dark-mode off >/dev/null || fail "the apps could not be made light"
open_dialog '&Setting...' Setting
goto_page Setting Other
key alt+d Return
wait_dialog_gone Setting 5000 || fail "Enter did not close the option dialog"
wait_ini_value "$ini" Option ColorScheme 2 5000 || fail "Colours: Dark was not saved ($(ini_value "$ini" Option ColorScheme))"
show_launcher "dark by the option"
read -r left top _ _ _ <<<"$(launcher_info)"
expect_eq "$(pixel_at $((left + 4)) $((top + 4)))" 202020 "the background with Colours: Dark on a light Windows"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher window"
open_registration
screenshot registration-dark
read -r x y <<<"$(cell_centre 5 "$PROGRAM_GRID" 10)"
expect_eq "$(pixel_at "$x" "$y")" 202020 "an empty cell of the Program grid with Colours: Dark"
key Escape
wait_dialog_gone "$REG" 5000 || fail "Escape did not close '$REG'"
exit_via_tray_menu "$pid"
