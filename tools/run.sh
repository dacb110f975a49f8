#!/usr/bin/env bash
# Sets up, builds and runs vantrel in Wine's virtual desktop. On a machine without a display it runs on a
# virtual one and saves a screenshot to build/screenshot.png. Stays resident until interrupted (Ctrl+C).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash tools/setup.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target vantrel
source tools/wine_env.sh

had_display=1
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    had_display=0
fi
vantrel_start_display
vantrel_prefix "$root/build/run-prefix"

cleanup() {
    wineserver -k 2>/dev/null || true
    vantrel_stop_display
}
trap cleanup EXIT INT TERM

echo "vantrel is resident: its icon is at the right end of the Wine desktop's taskbar. Ctrl+C ends it."
wine explorer /desktop=shell,1024x768 "$root/build/mingw/bin/vantrel.exe" &
wine_pid=$!
if [ "$had_display" -eq 0 ]; then
    sleep 6
    import -window root "$root/build/screenshot.png" && echo "screenshot: build/screenshot.png"
fi
wait "$wine_pid" || true
# The desktop process may outlive the launcher; keep going until interrupted.
while true; do sleep 3600; done
