# About shows the version of the version resource. A dialog opened from the tray menu hides the other dialogs,
# the hot key hides them all. Help on a Japanese user interface: "&Help" opens topic 3 of vantrelj.chm, F1 in the
# option dialog the topic of the page on top; without vantrelj.chm the English file is opened, and without either
# a message names the files that were looked for.
# e2e-limit: 120 (four program starts and the help viewer several times)
source "$(dirname "$E2E_SCENARIO")/dialog_helpers.bash"

dir=$(program_copy vantrel)
cp "$E2E_BIN/vantrel.chm" "$E2E_BIN/vantrelj.chm" "$dir/" || fail "no help files beside the program"
win_dir='C:\vantrel'
# Only vantrel runs on a Japanese user interface (Wine takes it from the locale); the X tools stay as they are.
LC_ALL=ja_JP.UTF-8 start_vantrel "$dir/vantrel.exe"
wait_tray_icon shown 10000 || fail "vantrel's icon does not show"

# help_opened TOPIC FILE: the system's help viewer was started for that topic of that file (its command line),
# and its window is up; HELP_PID is its process.
help_opened() {
    local want="-mapid $1 $win_dir\\$2" waited=0 p
    HELP_PID=""
    while [ -z "$HELP_PID" ]; do
        for p in $(pgrep -f 'hh\.exe' || true); do
            [[ "$(tr '\0' ' ' </proc/"$p"/cmdline 2>/dev/null)" == *"$want"* ]] && HELP_PID=$p
        done
        [ -n "$HELP_PID" ] && break
        [ "$waited" -ge 8000 ] && return 1
        sleep 0.2
        waited=$((waited + 200))
    done
    wait_window 'HH Parent' 8000
}
# close_help: the viewer closed as its user closes it, by its window's close; its process must end. (Killed by a
# signal on a loaded machine, a viewer once lived on without its window, and the next one never came up.)
close_help() {
    probe post 'HH Parent' 0x0010 0 0 >/dev/null
    wait_gone 'HH Parent' 5000 || fail "the help viewer did not go"
    program_exited "$HELP_PID" 5000 || fail "the help viewer's process did not end with its window"
}

# About: the version line is the version resource of the running program.
open_dialog '&About...' About
keyboard_focus About
version=$(probe file-version "$win_dir\\vantrel.exe") || fail "vantrel.exe has no version resource"
text=$(control 3 About 1082)
note "About: $text"
expect_eq "${text%%|*}" "Version $version" "About's version line"
[[ $text == *"|"*vantrel* ]] || fail "no author line under the version: $text"
expect_eq "$(control 3 About 1081)" vantrel "About's name"
key Return
wait_dialog_gone About 5000 || fail "OK did not close About"

# One dialog at a time from the tray menu; the launcher's hot key clears them all.
open_dialog '&About...' About
open_dialog 'Select &Environment...' 'Environment selection'
wait_dialog_gone About 3000 || fail "opening the environment selection did not hide About"
open_dialog '&Setting...' Setting
wait_dialog_gone 'Environment selection' 3000 || fail "opening Setting did not hide the environment selection"
mouse_move 900 100
xdotool key ctrl+alt+j
wait_launcher shown 5000 || fail "the hot key did not show the launcher over the option dialog"
wait_dialog_gone Setting 3000 || fail "the hot key did not hide the option dialog"
wait_foreground vantrel 3000 || fail "the launcher did not take the foreground from the hidden dialog"
key Escape
wait_launcher hidden 3000 || fail "Escape did not hide the launcher"

# "&Help" and F1 on a Japanese user interface.
tray_command '&Help'
help_opened 3 vantrelj.chm || fail "&Help did not open topic 3 of vantrelj.chm"
screenshot help-viewer
close_help
open_dialog '&Setting...' Setting
keyboard_focus Setting
key F1
help_opened 16 vantrelj.chm || fail "F1 on the Key page did not open topic 16"
close_help
activate_dialog Setting
key ctrl+Tab F1
help_opened 18 vantrelj.chm || fail "F1 on the Mouse page did not open topic 18"
close_help
activate_dialog Setting
key Escape
wait_dialog_gone Setting 5000 || fail "Escape did not close the dialog"

# Without the Japanese file the English one is used.
rm "$dir/vantrelj.chm"
tray_command '&Help'
help_opened 3 vantrel.chm || fail "&Help did not fall back to topic 3 of vantrel.chm"
close_help

# Without either: a message names both files, and while it is up the hot key does not show the launcher.
rm "$dir/vantrel.chm"
tray_command '&Help'
wait_window '#32770' vantrel 5000 || fail "no message about the missing help file"
keyboard_focus vantrel
message=$(probe controls '#32770' vantrel | awk -F'\t' '$2 == "Static" && $3 != "" { print $3 }' | paste -sd ' ')
note "message: $message"
[[ $message == *"$win_dir\\vantrelj.chm"* && $message == *"$win_dir\\vantrel.chm"* ]] ||
    fail "the message does not name the files looked for: $message"
mouse_move 900 100
xdotool key ctrl+alt+j
wait_launcher shown 1500 && fail "the hot key showed the launcher while the message was up"
key Return
wait_dialog_gone vantrel 5000 || fail "the message stayed after Enter"
xdotool key ctrl+alt+j
wait_launcher shown 5000 || fail "the hot key did not work again after the message"
