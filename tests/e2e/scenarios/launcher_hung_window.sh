# A window whose program stopped answering messages does not hold the show up: just after the hang the
# median show is at most the icon questions' time limit (50 ms, plus noise) slower than with an answering
# window, and once the system calls the window hung it is as fast; the hung window is listed with its
# program's icon. The show latency is measured in-process by the launcher benchmark, which runs the resident
# program's own code. (Wine does not carry the icon messages to other processes at all, so the time limit
# itself is checked by the Windows test program, whose hung window lives on a thread of its own.)
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

bench="$E2E_BUILD/bench/launcher_bench.exe"
[ -f "$bench" ] || fail "the launcher benchmark is not built"
# median_show RUNS: the median show latency in milliseconds.
median_show() {
    local line
    line=$(wine "$bench" show "$1" 2>>"$E2E_DIR/bench.log" | tr -d '\r' | tee -a "$E2E_DIR/bench.log" | grep 'show latency')
    [ -n "$line" ] || fail "the benchmark measured no show (see bench.log)"
    sed -E 's/.*median ([0-9.]+) ms.*/\1/' <<<"$line"
}
within() { awk -v a="$1" -v b="$2" -v d="$3" 'BEGIN { exit !(a - b <= d) }'; }

start_program "$(taskwin green)" --title Alive --at 100 100
wait_window VanTaskWindow Alive 10000 || fail "the answering window did not appear"
alive=$(median_show 9)

start_program "$(taskwin red)" --title Hung --at 300 200 --hang-after 0
wait_window VanTaskWindow Hung 10000 || fail "the hung window did not appear"
fresh=$(median_show 9)
sleep 6 # the system now calls the window hung
flagged=$(median_show 9)
note "median show: $alive ms with an answering window, $fresh ms just after the hang, $flagged ms later"
within "$fresh" "$alive" 80 || fail "a freshly hung window delayed the show from $alive to $fresh ms"
within "$flagged" "$alive" 30 || fail "a window known to be hung delayed the show from $alive to $flagged ms"

start_vantrel
wait_tray_icon shown 10000 || fail "vantrel's icon does not show"
mouse_move 900 100
hot_key
wait_launcher shown 3000 || fail "the hot key did not show the launcher window with a hung window open"
sleep 0.3
screenshot with-hung-window
read -r left top right bottom _ <<<"$(launcher_info)"
label=$(label_height) || fail "cannot measure the caption font"
task_top=$((top + 2 * label + 42 + 8))
found=0
for cell in 0 1; do
    colour_near "$(pixel_at $((left + 29 + 40 * cell + 6)) $((task_top + 27)))" E02020 40 && found=1
done
[ $found -eq 1 ] || fail "no Task cell shows the hung window's program icon"
hot_key
wait_launcher hidden 3000 || fail "the hot key did not hide the launcher window"
