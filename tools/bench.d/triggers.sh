#!/usr/bin/env bash
# Quiet-trigger figures under Wine: what the full-screen check and the list of programs vantrel leaves alone add
# between a mouse combination and its decision, over an ordinary window and over one covering the screen (median of
# 50 each, next to the poll that was the whole trigger before them, in the same run); then the idle cost of the
# resident program next to the minimal 100 ms poller, with the default settings and while a listed program is in
# front (the hot key given up, the window in front asked on every poll).
# TRIGGERS_VANTREL_BEFORE names a vantrel.exe (by that file name) built from an earlier tree, whose idle cost is measured in the same
# run for comparison. Run by tools/bench.sh after its build; alone: bash tools/bench.d/triggers.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
build=$(cd "${1:-${VANTREL_BUILD:-build/mingw}}" && pwd)
idle_seconds=${TRIGGERS_IDLE_SECONDS:-60}
for f in bin/vantrel.exe bench/quiet_triggers_bench.exe bench/launcher_idle_floor.exe fixtures/vantaskwin_red.exe \
    fixtures/vantaskwin_green.exe; do
    [ -f "$build/$f" ] || { echo "triggers bench: $build/$f is missing (build the mingw preset)" >&2; exit 1; }
done

source tools/wine_env.sh
source tools/bench.d/idle.bash
wine_start_display
desktop="shell,${WINE_DESKTOP_WIDTH}x${WINE_DESKTOP_HEIGHT}"
main_prefix="$root/build/bench-triggers-prefix"
floor_prefix="$root/build/bench-triggers-floor-prefix"
stop_prefix() { WINEPREFIX="$1" wineserver -k 2>/dev/null || true; WINEPREFIX="$1" wineserver -w 2>/dev/null || true; }
trap 'stop_prefix "$main_prefix"; stop_prefix "$floor_prefix"; wine_stop_display' EXIT
vantrel_prefix "$floor_prefix"
vantrel_prefix "$main_prefix"
appdata=$(ls -d "$main_prefix"/drive_c/users/*/AppData/Roaming | grep -v /Public/ | head -n 1)
mkdir -p "$appdata/vantrel64"
rm -f "$appdata/vantrel64/vantrel.ini"

echo "== quiet triggers (under Wine)"
stop_prefix "$main_prefix"
export WINEPREFIX="$main_prefix"
wine explorer /desktop=$desktop "$(winepath -w "$build/fixtures/vantaskwin_red.exe")" --title Ordinary --at 100 100 \
    >/dev/null 2>&1 &
wine explorer /desktop=$desktop "$(winepath -w "$build/fixtures/vantaskwin_green.exe")" --full-screen --title Screen \
    >/dev/null 2>&1 &
sleep 4
wine explorer /desktop=$desktop "$(winepath -w "$build/bench/quiet_triggers_bench.exe")" Ordinary Screen 50 2>/dev/null |
    cat
stop_prefix "$main_prefix"

if [ -n "${TRIGGERS_VANTREL_BEFORE:-}" ]; then
    echo "-- idle, default settings, $TRIGGERS_VANTREL_BEFORE"
    idle_ratio "$main_prefix" "$floor_prefix" "$idle_seconds" "$TRIGGERS_VANTREL_BEFORE" \
        "$build/bench/launcher_idle_floor.exe"
fi
echo "-- idle, default settings"
idle_ratio "$main_prefix" "$floor_prefix" "$idle_seconds" "$build/bin/vantrel.exe" "$build/bench/launcher_idle_floor.exe"
echo "-- idle, notepad listed and in front, the hot key given up to it"
printf '\xff\xfe' >"$appdata/vantrel64/vantrel.ini"
printf '[Option]\r\nExcludeList=notepad.exe\r\n' | iconv -f UTF-8 -t UTF-16LE >>"$appdata/vantrel64/vantrel.ini"
idle_ratio "$main_prefix" "$floor_prefix" "$idle_seconds" "$build/bin/vantrel.exe" "$build/bench/launcher_idle_floor.exe" \
    "wine explorer /desktop=$desktop notepad >/dev/null 2>&1 & sleep 4; xdotool key ctrl+alt+j; sleep 1"
