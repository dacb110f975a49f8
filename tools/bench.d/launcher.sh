#!/usr/bin/env bash
# Launcher window figures under Wine: show latency (40 Program items, 20 open windows, the default System
# tray) next to the show floor of the same size in the same run, the same in the dark scheme against the light
# one in one run (alone: LAUNCHER_BENCH_ONLY=colours), an arrow key to the redrawn cursor, the
# footprint after start and after 500 shows, and the idle cost of the resident program next to the minimal
# 100 ms poller. Run by tools/bench.sh after its build; alone: bash tools/bench.d/launcher.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
build=$(cd "${1:-${VANTREL_BUILD:-build/mingw}}" && pwd)
idle_seconds=${LAUNCHER_IDLE_SECONDS:-60}
for f in bin/vantrel.exe bench/launcher_bench.exe bench/launcher_colours_bench.exe bench/launcher_idle_floor.exe bench/footprint_bench.exe \
    fixtures/vantaskwin_red.exe fixtures/vantaskwin_green.exe; do
    [ -f "$build/$f" ] || { echo "launcher bench: $build/$f is missing (build the mingw preset)" >&2; exit 1; }
done

source tools/wine_env.sh
wine_start_display
desktop="shell,1024x768"
main_prefix="$root/build/bench-launcher-prefix"
floor_prefix="$root/build/bench-launcher-floor-prefix"
stop_prefix() { WINEPREFIX="$1" wineserver -k 2>/dev/null || true; WINEPREFIX="$1" wineserver -w 2>/dev/null || true; }
trap 'stop_prefix "$main_prefix"; stop_prefix "$floor_prefix"; wine_stop_display' EXIT
vantrel_prefix "$floor_prefix"
vantrel_prefix "$main_prefix"

# 40 Program items over the programs every prefix has, as the settings dialog would store them.
appdata=$(ls -d "$main_prefix"/drive_c/users/*/AppData/Roaming | grep -v /Public/ | head -n 1)
mkdir -p "$appdata/vantrel64"
programs=(notepad.exe regedit.exe winhlp32.exe explorer.exe system32\\cmd.exe system32\\wordpad.exe
          system32\\winecfg.exe system32\\taskmgr.exe)
{
    printf '[Program]\r\n'
    for i in $(seq 0 39); do
        exe="C:\\windows\\${programs[$((i % ${#programs[@]}))]}"
        printf 'Title%d=Program %d\r\nExeFileName%d=%s\r\nIconFileName%d=%s\r\nIconIndex%d=0\r\nStatus%d=0\r\n' \
            "$i" "$i" "$i" "$exe" "$i" "$exe" "$i" "$i"
    done
} >"$appdata/vantrel64/vantrel.ini"

echo "== launcher window (under Wine)"
stop_prefix "$main_prefix"
export WINEPREFIX="$main_prefix"
wine explorer /desktop=$desktop "$(winepath -w "$build/fixtures/vantaskwin_red.exe")" --count 20 --title Window \
    >/dev/null 2>&1 &
sleep 4
if [ "${LAUNCHER_BENCH_ONLY:-}" = colours ]; then
    wine explorer /desktop=$desktop "$(winepath -w "$build/bench/launcher_colours_bench.exe")" 100 2>/dev/null | cat
    exit 0
fi
wine explorer /desktop=$desktop "$(winepath -w "$build/bench/launcher_bench.exe")" show 50 2>/dev/null | cat
# Dark against light, same windows and items, the two schemes taking turns.
wine explorer /desktop=$desktop "$(winepath -w "$build/bench/launcher_colours_bench.exe")" 100 2>/dev/null | cat
# LAUNCHER_BENCH_BEFORE names the same bench built from an earlier tree, measured in the same run for comparison.
if [ -n "${LAUNCHER_BENCH_BEFORE:-}" ]; then
    echo "-- the same, built from $LAUNCHER_BENCH_BEFORE"
    wine explorer /desktop=$desktop "$(winepath -w "$LAUNCHER_BENCH_BEFORE")" show 50 2>/dev/null | cat
fi
# The keystroke figure: an arrow key through the navigation model to the redrawn cells.
[ -f "$build/bench/nav_bench.exe" ] &&
    wine explorer /desktop=$desktop "$(winepath -w "$build/bench/nav_bench.exe")" 200 2>/dev/null | cat
# Footprint: 500 shows with windows of the bench's own and of another program opening and closing between them.
wine explorer /desktop=$desktop "$(winepath -w "$build/bench/footprint_bench.exe")" "${LAUNCHER_FOOTPRINT_SHOWS:-500}" \
    "$(winepath -w "$build/fixtures/vantaskwin_green.exe")" 2>/dev/null | cat
stop_prefix "$main_prefix"

# Idle: both programs at once, each in its own prefix, so each Wine server serves one of them.
source tools/bench.d/idle.bash
idle_ratio "$main_prefix" "$floor_prefix" "$idle_seconds" "$build/bin/vantrel.exe" "$build/bench/launcher_idle_floor.exe"
