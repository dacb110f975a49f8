#!/usr/bin/env bash
# Sourced by the scripts that run Windows programs: a display and a Wine prefix that reports Windows 10.

# vantrel_start_display: uses $DISPLAY when it works, else starts Xvfb on a free number.
vantrel_start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    local n
    for n in $(seq 90 130); do
        [ -e "/tmp/.X${n}-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        VANTREL_XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 50); do
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.1
        done
    done
    echo "could not start a virtual display" >&2
    return 1
}

vantrel_stop_display() {
    if [ -n "${VANTREL_XVFB_PID:-}" ]; then
        kill "$VANTREL_XVFB_PID" 2>/dev/null || true
        wait "$VANTREL_XVFB_PID" 2>/dev/null || true
        VANTREL_XVFB_PID=""
    fi
}

# vantrel_prefix DIR: a Wine prefix in DIR that reports Windows 10, made once and kept.
vantrel_prefix() {
    export WINEPREFIX="$1"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/.vantrel-ready-2" ]; then
        rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wine winecfg -v win10 >/dev/null 2>&1
        # A crashing test must fail at once instead of waiting in the interactive debugger.
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f >/dev/null 2>&1
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 0 /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.vantrel-ready-2"
    fi
}
