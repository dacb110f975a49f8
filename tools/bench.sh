#!/usr/bin/env bash
# Builds and runs the benchmarks and prints their figures: settings load and start-up under Wine, the
# device snapshot natively, and the sizes of the binaries.
#   bash tools/bench.sh              every figure
#   bash tools/bench.sh NAME...      after the build, only tools/bench.d/NAME.sh (registration, dialogs, ...)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash tools/setup.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw
if [ $# -gt 0 ]; then
    for name in "$@"; do
        [ -f "tools/bench.d/$name.sh" ] || { echo "bench: no tools/bench.d/$name.sh" >&2; exit 2; }
        bash "tools/bench.d/$name.sh"
    done
    exit 0
fi
source tools/wine_env.sh
wine_start_display
vantrel_prefix "$root/build/bench-prefix"
trap 'wineserver -k 2>/dev/null; wine_stop_display' EXIT

echo "== sizes"
for f in build/mingw/bin/vantrel.exe build/mingw/bin/dravik.dll; do
    [ -f "$f" ] && printf '  %-14s %8d bytes\n' "$(basename "$f")" "$(stat -c %s "$f")"
done

echo "== settings load (under Wine)"
wine build/mingw/bench/settings_load_bench.exe

echo "== start-up (under Wine, virtual desktop), next to a minimal tray-icon program"
wine explorer /desktop=shell,1024x768 build/mingw/bench/startup_bench.exe "$(winepath -w build/mingw/bin/vantrel.exe)" 9 \
    "$(winepath -w build/mingw/bench/tray_floor.exe)" VanTrayFloor | cat

for extra in tools/bench.d/*.sh; do
    [ -f "$extra" ] && bash "$extra"
done
exit 0
