#!/usr/bin/env bash
# Every figure of the program's speed and size, each next to its floor measured in the same run, and the same
# figures of an earlier source tree beside them:
#
#   bash tools/bench.d/speed.sh [before-tree]     e.g. a worktree of main: bash tools/bench.d/speed.sh /work/main
#
# - vantrel.exe's size and each of its sections;
# - start: process start to the tray icon answering, next to a minimal tray-icon program (bench/tray_floor);
# - the launcher's show next to its floor, and the hot key with an arrow pressed at once to the arrow handled
#   (40 Program items, 20 task windows);
# - the six dialogs, command to painted, next to a minimal dialog program, and one drag step in "Registering Icons"
#   (200 Program and 200 System items);
# - the footprint over 500 shows, and the idle cost next to a minimal 100 ms poller.
#
# The earlier tree is copied to build/speed-before, given this tree's bench/ (so that both are measured by the same
# benchmarks) and built there. Each figure runs the earlier program right after this one, on the same desktop.
# SPEED_RUNS (30), SPEED_STARTS (25), SPEED_SHOWS (500) and SPEED_IDLE_SECONDS (60) change how long each part runs.
# Run by tools/bench.sh after its build without an earlier tree; alone it builds what it needs.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
runs=${SPEED_RUNS:-30}
shows=${SPEED_SHOWS:-500}
idle_seconds=${SPEED_IDLE_SECONDS:-60}
before_src=${1:-}
targets=(vantrel launcher_bench dialog_bench registration_bench footprint_bench launcher_idle_floor)

build_tree() { # SOURCE-DIR: the mingw preset's targets the figures need
    (cd "$1" && cmake --preset mingw >/dev/null && cmake --build --preset mingw --target "${targets[@]}" \
        dialog_floor tray_floor startup_bench vantaskwin_red vantaskwin_green >/dev/null)
}

after=$root/build/mingw
build_tree "$root"
before=""
if [ -n "$before_src" ]; then
    before_src=$(cd "$before_src" && pwd)
    copy=$root/build/speed-before
    mkdir -p "$copy"
    # The tree as it is (committed or not), without its builds, and with this tree's benchmarks.
    (cd "$before_src" && git ls-files -co --exclude-standard -z 2>/dev/null || find . -path ./build -prune -o -type f -print0) |
        (cd "$before_src" && tar --null --no-recursion -T - -cf -) | (cd "$copy" && tar -xf -)
    rm -rf "$copy/bench" && cp -a "$root/bench" "$copy/bench"
    build_tree "$copy"
    before=$copy/build/mingw
fi

source tools/wine_env.sh
source tools/bench.d/idle.bash
wine_start_display
desktop="shell,${WINE_DESKTOP_WIDTH}x${WINE_DESKTOP_HEIGHT}"
launcher_prefix="$root/build/bench-speed-launcher-prefix"
dialogs_prefix="$root/build/bench-speed-dialogs-prefix"
idle_prefix="$root/build/bench-speed-idle-prefix"
floor_prefix="$root/build/bench-speed-floor-prefix"
stop_prefix() { WINEPREFIX="$1" wineserver -k 2>/dev/null || true; WINEPREFIX="$1" wineserver -w 2>/dev/null || true; }
trap 'for p in "$launcher_prefix" "$dialogs_prefix" "$idle_prefix" "$floor_prefix"; do stop_prefix "$p"; done;
      wine_stop_display' EXIT
for p in "$launcher_prefix" "$dialogs_prefix" "$idle_prefix" "$floor_prefix"; do vantrel_prefix "$p" >/dev/null; done

roaming() { ls -d "$1"/drive_c/users/*/AppData/Roaming | grep -v /Public/ | head -n 1; }
run_in() { # PREFIX EXE ARGS...: a program in the prefix's desktop, its output without carriage returns
    local prefix=$1 exe=$2
    shift 2
    WINEPREFIX="$prefix" wine explorer /desktop=$desktop "$(WINEPREFIX="$prefix" winepath -w "$exe")" "$@" 2>/dev/null |
        tr -d '\r'
}
trees() { # the build folders, labelled
    echo "after $after"
    [ -z "$before" ] || echo "before $before"
}
out=$(mktemp)
say() { echo "$*" | tee -a "$out"; }

# 40 Program items over the programs every prefix has (the launcher figures); 200 Program and 188 System items, to
# which the program adds its 12 built-in ones, 20 columns (the dialog figures).
programs=(notepad.exe regedit.exe winhlp32.exe explorer.exe system32\\cmd.exe system32\\wordpad.exe
          system32\\winecfg.exe system32\\taskmgr.exe)
mkdir -p "$(roaming "$launcher_prefix")/vantrel64" "$(roaming "$dialogs_prefix")/vantrel64"
{
    printf '[Program]\r\n'
    for i in $(seq 0 39); do
        exe="C:\\windows\\${programs[$((i % ${#programs[@]}))]}"
        printf 'Title%d=Program %d\r\nExeFileName%d=%s\r\nIconFileName%d=%s\r\nIconIndex%d=0\r\nStatus%d=0\r\n' \
            "$i" "$i" "$i" "$exe" "$i" "$exe" "$i" "$i"
    done
} >"$(roaming "$launcher_prefix")/vantrel64/vantrel.ini"
{
    printf '[Option]\nColMax=20\n'
    for section in Program:200 System:188; do
        count=${section#*:}
        section=${section%:*}
        printf '[%s]\n' "$section"
        for ((i = 0; i < count; i++)); do
            printf 'Title%d=%s %d\nExeFileName%d=C:\\windows\\notepad.exe\nIconFileName%d=C:\\windows\\system32\\shell32.dll\nIconIndex%d=%d\nStatus%d=0\n' \
                "$i" "$section" "$i" "$i" "$i" "$i" $((i % 150)) "$i"
        done
    done
} | sed 's/$/\r/' | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$(roaming "$dialogs_prefix")/vantrel64/vantrel.ini"
cp "$(roaming "$dialogs_prefix")/vantrel64/vantrel.ini" "$root/build/speed-dialogs.ini"

say "== size of vantrel.exe (bytes)"
while read -r label dir; do
    say "  $label: $(stat -c %s "$dir/bin/vantrel.exe")"
    x86_64-w64-mingw32-objdump -h "$dir/bin/vantrel.exe" | awk '$1 ~ /^[0-9]+$/ { print $2, $3 }' |
        while read -r section hex; do printf '    %-7s %-8s %8d\n' "$label" "$section" "$((16#$hex))"; done |
        tee -a "$out"
done < <(trees)

say "== start: process start to the tray icon (next to a minimal tray-icon program, same run)"
for settings in "default settings:$idle_prefix" "200 Program and 200 System items:$dialogs_prefix"; do
    prefix=${settings#*:}
    # The desktop up and settled first: its own start (the shell, the device services) would otherwise run beside
    # the first starts timed, and make each figure and its floor slower by a different amount.
    WINEPREFIX="$prefix" wine explorer /desktop=$desktop >/dev/null 2>&1 &
    sleep 4
    say "  -- ${settings%%:*}"
    while read -r label dir; do
        say "  $label:"
        run_in "$prefix" "$after/bench/startup_bench.exe" "$(WINEPREFIX="$prefix" winepath -w "$dir/bin/vantrel.exe")" \
            "${SPEED_STARTS:-25}" "$(WINEPREFIX="$prefix" winepath -w "$after/bench/tray_floor.exe")" VanTrayFloor |
            sed 's/^/    /' | tee -a "$out"
    done < <(trees)
done

say "== launcher (40 Program items, 20 task windows, the default System tray)"
stop_prefix "$launcher_prefix"
WINEPREFIX="$launcher_prefix" wine explorer /desktop=$desktop \
    "$(WINEPREFIX="$launcher_prefix" winepath -w "$after/fixtures/vantaskwin_red.exe")" --count 20 --title Window \
    >/dev/null 2>&1 &
sleep 4
while read -r label dir; do
    say "  $label:"
    run_in "$launcher_prefix" "$dir/bench/launcher_bench.exe" show 50 | grep -v '^  trays\|^  window' |
        sed 's/^/    /' | tee -a "$out"
done < <(trees)

say "== dialogs (200 Program and 200 System items), each next to a minimal dialog program's openings between its own"
# The minimal dialog program as a program of its own, as the figures were first compared.
run_in "$dialogs_prefix" "$after/bench/dialog_floor.exe" "$runs" | sed 's/^/  /' | tee -a "$out"
while read -r label dir; do
    say "  $label:"
    cp "$root/build/speed-dialogs.ini" "$(roaming "$dialogs_prefix")/vantrel64/vantrel.ini"
    run_in "$dialogs_prefix" "$dir/bench/dialog_bench.exe" "$runs" | sed 's/^/    /' | tee -a "$out"
    cp "$root/build/speed-dialogs.ini" "$(roaming "$dialogs_prefix")/vantrel64/vantrel.ini"
    run_in "$dialogs_prefix" "$dir/bench/registration_bench.exe" "$runs" | grep '^drag step' | sed 's/^/    /' |
        tee -a "$out"
done < <(trees)

say "== footprint over $shows shows"
while read -r label dir; do
    say "  $label:"
    run_in "$launcher_prefix" "$dir/bench/footprint_bench.exe" "$shows" \
        "$(WINEPREFIX="$launcher_prefix" winepath -w "$after/fixtures/vantaskwin_green.exe")" |
        sed 's/^/    /' | tee -a "$out"
done < <(trees)
stop_prefix "$launcher_prefix"

say "== idle"
while read -r label dir; do
    say "  $label:"
    idle_ratio "$idle_prefix" "$floor_prefix" "$idle_seconds" "$dir/bin/vantrel.exe" "$after/bench/launcher_idle_floor.exe" |
        sed 's/^/    /' | tee -a "$out"
done < <(trees)

# Every figure with its floor and ratio, one line each, after (and before).
echo
echo "== summary (median ms unless named; ratio = figure / floor of the same run)"
awk '
    function num(s, key,   m) { if (match(s, key " +[0-9.]+")) { m = substr(s, RSTART, RLENGTH); sub(/.* /, "", m); return m + 0 } return -1 }
    /^  (after|before):$/ { tree = $1; sub(":", "", tree); next }
    /^  -- / { print "  " substr($0, 6) ":"; next }
    /^  (after|before): [0-9]+$/ { printf "  %-6s vantrel.exe %d bytes (goal: at most 800 KB)\n", $1, $2; next }
    /^    start-up to tray icon/ { s[tree] = num($0, "median") }
    /^    minimal tray-icon program/ { printf "  %-6s start %.1f ms, floor %.1f ms, ratio %.2f (goal 1.5)\n", tree, s[tree], num($0, "median"), s[tree] / num($0, "median") }
    /^      ratio of the medians: .*fastest/ { m = $0; sub(/.*fastest starts: /, "", m); printf "  %-6s start, ratio of the fastest starts %s\n", tree, m }
    /^    show latency/ { sh[tree] = num($0, "median") }
    /^    show floor/ { printf "  %-6s launcher show %.2f ms, floor %.2f ms, ratio %.2f (goal 1.2)\n", tree, sh[tree], num($0, "median"), sh[tree] / num($0, "median") }
    /hot key to the first key/ { printf "  %-6s hot key to first key %.2f ms, worst %.2f ms (goal under 16.7)\n", tree, num($0, "median"), num($0, "worst") }
    /^      (Setting|Registering Icons|Select Environment|About|Icon setting|Delete icon) / {
        name = $0; sub(/^ +/, "", name); sub(/ +median.*/, "", name)
        printf "  %-6s %-18s %7.2f ms, floor %.2f ms, ratio %.2f (goal 1.5); to the program alone %.2f\n", tree, name,
            num($0, "median"), num($0, "floor median"), num($0, "ratio"), num($0, "median") / alone }
    /^  minimal dialog program/ { alone = num($0, "median") }
    /^    drag step/ { printf "  %-6s drag step median %.2f ms, worst %.2f ms (goal 4 and 16.7)\n", tree, num($0, "median"), num($0, "worst") }
    /^      ratio:/ { printf "  %-6s idle ratio %s (goal 1.2)\n", tree, $2 }
' "$out"
rm -f "$out"
exit 0
