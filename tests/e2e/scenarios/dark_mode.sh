# Windows' apps switched to dark while vantrel runs: the next show paints the launcher dark (dark grey behind
# everything, a light blue box cursor, white names) while the direct-key badges keep the user's colours; switched
# back while the window is up, it is repainted light at once; with high contrast on over dark, the system's
# high-contrast scheme wins. The high-contrast colours are set before vantrel starts (under Wine a program sees
# system colours set by another only from its next start). Last, on a light Windows, "Colours: Dark" chosen from
# the keyboard on the option dialog makes the launcher and the grids of Registering Icons dark and is saved.
source "$(dirname "$E2E_SCENARIO")/registration_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
write_ini "$ini" "[Option]
ColMax=10
FrameFlag=0
BackColor=16711935
$(program_items 3 | sed -e 's/^Status1=0$/Status1=16896/')"
count() { probe find-color "$1" 8 "$2" "$3" "$4" "$5"; }
# show LABEL: shows the launcher; its corner's colour in corner, the first cell's box from bx, by.
show() {
    show_launcher "$1"
    screenshot "$1"
    read -r left top right bottom _ <<<"$(launcher_info)"
    bx=$((left + 8)) by=$((top + label + 4))
    corner=$(pixel_at $((left + 4)) $((top + 4)))
}
hide() { key Escape; wait_launcher hidden 3000 || fail "Escape did not hide the launcher window"; }

access high-contrast off window=000000 windowtext=FFFFFF highlight=00FF00 highlighttext=000000 >/dev/null ||
    fail "the system colours could not be set"
start_resident
label=$(label_height) || fail "cannot measure the caption font"
show light
face=$corner
[ "$face" != 202020 ] || fail "the launcher is dark before the switch"
hide

access dark-mode on >/dev/null || fail "the apps could not be made dark"
show dark
expect_eq "$corner" 202020 "the window's background in the dark scheme"
expect_eq "$(count "$face" $((bx + 122)) "$by" "$right" $((by + 42)))" 0 "light face in the empty Program cells"
[ "$(count 4CC2FF "$bx" "$by" $((bx + 44)) $((by + 44)))" -ge 280 ] || fail "the box cursor is not light blue"
# The second item's direct key B: its badge keeps the user's BackColor.
[ "$(count FF00FF $((bx + 42)) $((by + 2)) $((bx + 58)) $((by + 18)))" -ge 40 ] || fail "the badge lost the user's colour"
[ "$(count FFFFFF "$bx" $((bottom - 32)) "$right" $((bottom - 10)))" -ge 10 ] || fail "the name is not white"
# Back to light while the window is up: repainted at once, without another show.
access dark-mode off >/dev/null || fail "the apps could not be made light again"
for _ in $(seq 25); do [ "$(pixel_at $((left + 4)) $((top + 4)))" = "$face" ] && break; sleep 0.2; done
expect_eq "$(pixel_at $((left + 4)) $((top + 4)))" "$face" "the background once the apps went light again"
hide

access dark-mode on >/dev/null && access high-contrast on >/dev/null || fail "cannot switch dark and high contrast on"
show high-contrast-over-dark
expect_eq "$corner" 000000 "the window's background with high contrast over dark"
[ "$(count 00FF00 "$bx" "$by" $((bx + 44)) $((by + 44)))" -ge 280 ] || fail "the cursor is not in the highlight colour"
hide

access high-contrast off >/dev/null && access dark-mode off >/dev/null || fail "cannot switch back to light"
open_dialog '&Setting...' Setting
goto_page Setting Other
key alt+d Return
wait_dialog_gone Setting 5000 || fail "Enter did not close the option dialog"
wait_ini_value "$ini" Option ColorScheme 2 5000 || fail "Colours: Dark was not saved"
show dark-by-option
expect_eq "$corner" 202020 "the background with Colours: Dark on a light Windows"
hide
open_registration
read -r x y <<<"$(cell_centre 5 "$PROGRAM_GRID" 10)"
expect_eq "$(pixel_at "$x" "$y")" 202020 "an empty cell of the Program grid with Colours: Dark"
key Escape
wait_dialog_gone "$REG" 5000 || fail "Escape did not close '$REG'"
exit_via_tray_menu "$pid"
