# The harness checked against its own small resident program, so that a failure of the other scenarios
# points at vantrel and not at the tools: window waits, a screen pixel, the foreground window, a posted
# message, the tray icon found by colour, the popup menu read from the inside with its states, a click on a
# menu item, and the process ending.

testwin="$E2E_BUILD/e2e/vantestwin.exe"
[ -f "$testwin" ] || fail "vantestwin.exe is not built (target vantestwin)"

start_program "$testwin" visible "$(winpath "$E2E_ROOT/src/resources/icons/mainicon.ico")"
pid=$E2E_LAST_PID
wait_desktop
wait_window VanTestPlain vantestwin 10000 || fail "the test program's window did not show"
wait_exists VanTestMain 5000 || fail "the test program's hidden window is missing"
expect_eq "$(count_windows VanTestMain)" 1 "hidden main windows"
wait_window VanTestMain 500 && fail "wait-window took a hidden window for a shown one"

# The client area of the shown window (100,100)-(400,300) is painted in the window colour, white.
sleep 0.3
expect_eq "$(probe pixel 250 220)" FFFFFF "pixel inside the test window"

click 250 110
sleep 0.3
expect_eq "$(probe foreground | cut -f2,3)" "$(printf 'VanTestPlain\tvantestwin')" "foreground window after a click"
probe post VanTestPlain 0x0010 0 0 || fail "cannot post WM_CLOSE to the test window"
wait_gone VanTestPlain 3000 || fail "the test window did not close on a posted WM_CLOSE"

wait_tray_icon shown 5000 || fail "the tray icon's colours were not found in the notification area"
right_click_tray_icon || fail "no menu after a right click on the tray icon"
screenshot menu
expected=$(printf '0\tnormal\t&First\n1\tgrayed\t&Greyed...\n2\tnormal,checked\t&Checked\n3\tseparator\t\n4\tnormal\tE&xit')
expect_eq "$(menu_items)" "$expected" "menu items read from the test program"

choose_menu_item 'E&xit'
program_exited "$pid" 5000 || fail "the test program still runs after E&xit"
wait_gone VanTestMain 3000 || fail "the hidden window is still there"
wait_tray_icon gone 3000 || fail "the tray icon is still shown after the program ended"
expect_eq "$(count_processes vantestwin.exe)" 0 "test program processes"
