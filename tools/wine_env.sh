#!/usr/bin/env bash
# Sourced by every script that runs Windows programs (tools/, tests/e2e/): a display, Wine prefixes and their
# servers, set up the same way everywhere.

WINE_DESKTOP_WIDTH=1024
WINE_DESKTOP_HEIGHT=768
# Prefixes are made again when Wine changes or when this recipe changes.
WINE_PREFIX_RECIPE=2

export WINEDEBUG=-all
# No Mono or Gecko download prompts: nothing here needs .NET or the HTML engine.
export WINEDLLOVERRIDES="mscoree,mshtml="

# wine_start_display [own]: uses $DISPLAY when it answers, unless "own" asks for a private Xvfb the size of the
# Wine desktop. Xvfb picks a free display number itself (-displayfd), so runs of several people on one machine
# do not collide. Sets DISPLAY and WINE_XVFB_PID.
wine_start_display() {
    if [ "${1:-}" != own ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 9 -screen 0 "${WINE_DESKTOP_WIDTH}x${WINE_DESKTOP_HEIGHT}x24" -nolisten tcp 9>"$fdfile" >/dev/null 2>&1 &
    WINE_XVFB_PID=$!
    local i number=""
    for i in $(seq 1 100); do
        number=$(tr -dc '0-9' <"$fdfile")
        [ -n "$number" ] && break
        kill -0 "$WINE_XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    rm -f "$fdfile"
    if [ -z "$number" ]; then
        echo "wine: Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$number"
    for i in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    echo "wine: display $DISPLAY does not answer" >&2
    return 1
}

wine_stop_display() {
    if [ -n "${WINE_XVFB_PID:-}" ]; then
        kill "$WINE_XVFB_PID" 2>/dev/null
        wait "$WINE_XVFB_PID" 2>/dev/null
        WINE_XVFB_PID=""
    fi
}

# wine_stop PREFIX: ends every Windows process of that prefix, bounded.
wine_stop() {
    WINEPREFIX="$1" timeout 10 wineserver -k >/dev/null 2>&1
    WINEPREFIX="$1" timeout 10 wineserver -w >/dev/null 2>&1
    return 0
}

# wine_start_server PREFIX: starts the prefix's server before any program and waits until it listens.
# Debian's Wine keeps the server's socket in a private temporary folder named in $PREFIX/wineserver; two
# programs that start at once in a prefix without a server race to create it, and the loser fails with
# "chdir to .../server-...: No such file or directory".
wine_start_server() {
    local prefix=$1 i dir
    WINEPREFIX="$prefix" wineserver -p >/dev/null 2>&1 || return 1
    for i in $(seq 1 100); do
        if [ -f "$prefix/wineserver" ]; then
            dir="${TMPDIR:-/tmp}/$(cat "$prefix/wineserver")"
            compgen -G "$dir/server-*/socket" >/dev/null && return 0
        elif compgen -G "${TMPDIR:-/tmp}/.wine-$(id -u)/server-*/socket" >/dev/null; then
            # A Wine without that change keeps its sockets in the usual shared folder.
            return 0
        fi
        sleep 0.05
    done
    return 1
}

# wine_forget_server PREFIX: removes the stopped server's temporary folder.
wine_forget_server() {
    local name
    [ -f "$1/wineserver" ] || return 0
    name=$(cat "$1/wineserver")
    case "$name" in wine-??????) rm -rf "${TMPDIR:-/tmp}/$name" ;; esac
}

# wine_make_prefix DIR [shell]: a prefix in DIR that reports Windows 10, made once and kept while Wine and the
# recipe stay the same; with "shell" every program of it runs in the virtual desktop named shell, which has a
# taskbar and a notification area. A program that crashes ends at once instead of waiting in the debugger.
# Two runs at once share it safely: the first builds it under a lock, in a side folder that is renamed into
# place only when complete.
wine_make_prefix() {
    local dir=$1 desktop=${2:-} stamp
    stamp="$(wine --version 2>/dev/null) recipe $WINE_PREFIX_RECIPE ${desktop:-plain}"
    mkdir -p "$(dirname "$dir")"
    (
        flock -w 120 9 || { echo "wine: prefix lock busy" >&2; exit 1; }
        if [ -f "$dir/.wine-prefix" ] && [ "$(cat "$dir/.wine-prefix")" = "$stamp" ]; then
            exit 0
        fi
        echo "wine: making the prefix $dir ($stamp)" >&2
        local side="$dir.new.$$"
        rm -rf "$side"
        mkdir -p "$side"
        export WINEPREFIX="$side"
        timeout 120 wineboot -i >/dev/null 2>&1 &&
            timeout 60 wine winecfg -v win10 >/dev/null 2>&1 &&
            timeout 30 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f \
                >/dev/null 2>&1 &&
            timeout 30 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 0 /f \
                >/dev/null 2>&1
        local ok=$?
        if [ $ok -eq 0 ] && [ "$desktop" = shell ]; then
            timeout 30 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1 &&
                timeout 30 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell \
                    /d "${WINE_DESKTOP_WIDTH}x${WINE_DESKTOP_HEIGHT}" /f >/dev/null 2>&1
            ok=$?
        fi
        wine_stop "$side"
        wine_forget_server "$side"
        # The registry reaches the disk when the server ends; check it holds what the callers rely on.
        if [ $ok -ne 0 ] || ! grep -qi '"CurrentVersion"="10.0"\|"ProductName"="Microsoft Windows 10' "$side/system.reg" ||
            { [ "$desktop" = shell ] && ! grep -q '"Desktop"="shell"' "$side/user.reg"; }; then
            echo "wine: making the prefix $dir failed" >&2
            rm -rf "$side"
            exit 1
        fi
        echo "$stamp" >"$side/.wine-prefix"
        rm -rf "$dir"
        mv "$side" "$dir"
    ) 9>"$dir.lock"
}

# wine_copy_prefix TEMPLATE DEST: a private prefix for one scenario in a fraction of a second. The system's
# binaries (nearly all of the 700 MB) are hard links into the template: nothing writes them once the prefix
# is made. Every other file (registry, ini files, the users' folders) gets its own copy, so what a scenario
# writes never reaches the template.
wine_copy_prefix() {
    local template=$1 dest=$2
    cp -al "$template" "$dest" || return 1
    # The socket folder of the template's server is not ours.
    rm -f "$dest/wineserver" "$dest/.wine-prefix"
    local f
    while IFS= read -r -d '' f; do
        cp -p "$f" "$f.copy" && mv -f "$f.copy" "$f" || return 1
    done < <(find "$dest" -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' -o -iname '*.sys' \
        -o -iname '*.ocx' -o -iname '*.acm' -o -iname '*.cpl' -o -iname '*.ax' -o -iname '*.tlb' -o -iname '*.ttf' \
        -o -iname '*.fon' -o -iname '*.ds' -o -iname '*.nls' -o -iname '*.com' -o -iname '*.mui' \
        -o -iname '*.dll16' -o -iname '*.exe16' -o -iname '*.vxd' -o -iname '*.tsp' -o -iname '*.ime' \) -print0)
}

# vantrel_prefix DIR [shell]: WINEPREFIX set to a prefix in DIR made by wine_make_prefix.
vantrel_prefix() {
    wine_make_prefix "$1" "${2:-}" || return 1
    export WINEPREFIX="$1"
}
