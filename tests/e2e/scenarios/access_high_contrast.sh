# High contrast switched on while vantrel runs: the next show paints the launcher in the system's scheme (window
# colour behind everything, window text for the captions and the name, the cursor frame in the highlight
# colour, direct-key badges as highlight text on highlight) and nothing in the normal button face or the
# user's cursor colour; switched off while the window is up, the window is repainted in its normal colours at
# once. Wine does not carry the switch itself (it refuses SPI_SETHIGHCONTRAST and always answers "off"), so
# the user's stored setting is what says "on" here, as Windows keeps it; and a program under Wine sees system
# colours set by another program only from its next start, so the scheme's colours are set before vantrel
# starts and only the switch happens while it runs.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
write_ini "$ini" "[Option]
ColMax=10
FrameFlag=0
BackColor=16711935
$(program_items 3 | sed -e 's/^Status1=0$/Status1=16896/')"

count() { probe find-color "$1" 8 "$2" "$3" "$4" "$5"; }

# The high-contrast scheme's colours, while high contrast is still off.
access high-contrast off window=000000 windowtext=FFFFFF highlight=00FF00 highlighttext=000000 >"$E2E_DIR/colours.txt" ||
    fail "the system colours could not be set ($(cat "$E2E_DIR/colours.txt"))"
start_resident
show_launcher "with the normal colours"
screenshot normal
read -r left top right bottom _ <<<"$(launcher_info)"
label=$(label_height) || fail "cannot measure the caption font"
bx=$((left + 8))
by=$((top + label + 4))
face=$(pixel_at $((left + 4)) $((top + 4)))
note "normal: face $face"
[ "$(count FF00FF "$bx" "$by" $((bx + 44)) $((by + 44)))" -ge 280 ] || fail "no cursor frame in BackColor before the switch"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher window"

access high-contrast on >"$E2E_DIR/switch-on.txt" ||
    fail "high contrast could not be switched on ($(cat "$E2E_DIR/switch-on.txt"))"
show_launcher "with high contrast"
screenshot high-contrast
read -r left top right bottom _ <<<"$(launcher_info)"
expect_eq "$(pixel_at $((left + 4)) $((top + 4)))" 000000 "the window's background in high contrast"
# Button face nowhere outside the icons: not in the Program tray's empty cells, not around the Task tray.
expect_eq "$(count "$face" $((bx + 122)) "$by" "$right" $((by + 42)))" 0 "button face in the empty Program cells"
expect_eq "$(count "$face" "$left" $((by + 42)) "$right" $((by + 42 + label + 46)))" 0 "button face around the Task tray"
expect_eq "$(count FF00FF "$left" "$top" "$right" "$bottom")" 0 "BackColor pixels left in high contrast"
frame=$(count 00FF00 "$bx" "$by" $((bx + 44)) $((by + 44)))
note "high contrast: $frame highlight pixels around the cursor's cell"
[ "$frame" -ge 280 ] || fail "the cursor frame is not in the highlight colour ($frame pixels)"
# The second Program item carries the direct key B: its badge is a highlight-coloured patch in its cell's
# corner, with dark text on it.
badge=$(count 00FF00 $((bx + 42)) $((by + 2)) $((bx + 58)) $((by + 18)))
note "high contrast: $badge highlight pixels in the badge of the second cell"
[ "$badge" -ge 40 ] || fail "the badge is not drawn on the highlight colour ($badge pixels)"
[ "$(count 000000 $((bx + 44)) $((by + 4)) $((bx + 52)) $((by + 16)))" -ge 4 ] || fail "the badge has no dark text"
# Captions and the name are white on black.
[ "$(count FFFFFF "$bx" $((top + 2)) $((bx + 60)) $((top + label + 2)))" -ge 10 ] || fail "the caption is not in window text"
[ "$(count FFFFFF "$bx" $((bottom - 32)) "$right" $((bottom - 10)))" -ge 10 ] || fail "the name is not in window text"

# Off again while the window is up: it repaints in the normal colours without another show.
access high-contrast off >"$E2E_DIR/switch-off.txt" || fail "high contrast could not be switched off"
waited=0
until [ "$(pixel_at $((left + 4)) $((top + 4)))" = "$face" ]; do
    [ "$waited" -ge 5000 ] && fail "the window kept its high-contrast colours after the switch went off"
    sleep 0.2
    waited=$((waited + 300))
done
screenshot normal-again
[ "$(count FF00FF "$bx" "$by" $((bx + 44)) $((by + 44)))" -ge 280 ] || fail "the cursor frame is not back in BackColor"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher window"
exit_via_tray_menu "$pid"
