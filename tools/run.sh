#!/usr/bin/env bash
# Sets up, builds and runs vantrel in Wine's virtual desktop. On a machine without a display it runs on a
# virtual one, presses the hot key and saves a picture of the launcher window to build/screenshot.png (and of
# the whole desktop to build/desktop.png). Stays resident until interrupted (Ctrl+C).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash tools/setup.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target vantrel dravik vanprobe
source tools/wine_env.sh

had_display=1
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    had_display=0
fi
wine_start_display
# Every program of this prefix runs in the virtual desktop named shell, which has a taskbar.
vantrel_prefix "$root/build/run-prefix" shell

cleanup() {
    wine_stop "$WINEPREFIX"
    wine_stop_display
}
trap cleanup EXIT INT TERM

probe() { wine "$root/build/mingw/bin/vanprobe.exe" "$@" 2>/dev/null | tr -d '\r'; }

echo "vantrel is resident: its icon is at the right end of the Wine desktop's taskbar. Ctrl+C ends it."
wine "$root/build/mingw/bin/vantrel.exe" &
wine_pid=$!
if [ "$had_display" -eq 0 ]; then
    # The hot key reaches the program once its window is up; the launcher is then photographed alone.
    probe wait-exists TVantrelMain 20000 >/dev/null || echo "vantrel did not start" >&2
    sleep 2 # the hot key is registered right after the window is made
    xdotool mousemove $((WINE_DESKTOP_WIDTH / 2)) $((WINE_DESKTOP_HEIGHT / 2)) key ctrl+alt+j
    if probe wait-window TVanMainForm vantrel 5000 >/dev/null; then
        sleep 0.5
        read -r left top right bottom < <(probe list | awk -F'\t' '$3 == "TVanMainForm" && $4 == "vantrel" {
            split($5, r, ","); print r[1], r[2], r[3], r[4]; exit }')
        import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$root/build/screenshot.png" &&
            echo "screenshot of the launcher window: build/screenshot.png"
    else
        echo "the launcher window did not come up" >&2
    fi
    import -window root "$root/build/desktop.png" && echo "the whole desktop: build/desktop.png"
fi
wait "$wine_pid" || true
# The desktop process may outlive the launcher; keep going until interrupted.
while true; do sleep 3600; done
