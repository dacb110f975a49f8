#!/usr/bin/env bash
# Functions of the end-to-end harness. run.sh sources this file once for the run (display, template prefix)
# and once more inside every scenario's own shell (the helpers below the "Scenario helpers" line).
#
# The run provides, for each scenario:
#   E2E_BIN       the folder with vantrel.exe and vanprobe.exe
#   E2E_BUILD     the build folder above it (fixtures/, e2e/)
#   E2E_ROOT      the source tree
#   E2E_DIR       the scenario's own folder: screenshots, logs, anything it wants to keep
#   WINEPREFIX    the scenario's fresh copy of the template prefix
#   DISPLAY       the run's virtual display

# The display, the prefixes and their servers are set up as for every other Wine run.
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)/wine_env.sh"
E2E_WIDTH=$WINE_DESKTOP_WIDTH
E2E_HEIGHT=$WINE_DESKTOP_HEIGHT

# A traced scenario (E2E_TRACE=1) shows the time of every command.
[ -n "${E2E_TRACE:-}" ] && PS4='+ ${EPOCHREALTIME} '

# ---------------------------------------------------------------------------------------------------------
# Scenario helpers

E2E_PIDS=()

# fail REASON: ends the scenario; REASON becomes the FAIL line.
fail() {
    echo "$*" >"$E2E_DIR/reason"
    echo "FAIL: $*" >&2
    exit 1
}

note() { echo "$*" >&2; }

# start_program [EXE [ARGS...]]: starts a Windows program (default vantrel.exe) in the desktop, in the
# background. E2E_LAST_PID is the process that stands for it; its exit code is the program's.
start_program() {
    local exe=${1:-$E2E_BIN/vantrel.exe}
    [ $# -gt 0 ] && shift
    [ -f "$exe" ] || fail "no program $exe"
    wine "$exe" "$@" >>"$E2E_DIR/program.log" 2>&1 &
    E2E_LAST_PID=$!
    E2E_PIDS+=("$E2E_LAST_PID")
}

# probe ARGS...: runs vanprobe in the desktop; prints its answer and returns its exit code.
probe() {
    wine "$E2E_BIN/vanprobe.exe" "$@" 2>>"$E2E_DIR/probe.log"
}

# access ARGS: the screen-reader client (tests/e2e/probe/access_client.cpp), its answers without carriage returns.
access() { wine "$E2E_BIN/vanaccess.exe" "$@" 2>>"$E2E_DIR/access.log" | sed -u 's/\r$//'; }

# The desktop's own windows take a moment to appear after the first program starts.
wait_desktop() {
    probe wait-window Shell_TrayWnd "${1:-10000}" >/dev/null || fail "the desktop's taskbar did not appear"
}

# probe_wait COMMAND ARGS... MS: a probe wait that ended early without its condition (a probe that Wine could not
# start on a loaded machine ends at once) is asked again for the time that is left.
probe_wait() {
    local total=${!#} start left
    local args=("${@:1:$#-1}")
    start=$(date +%s%3N)
    left=$total
    while :; do
        probe "${args[@]}" "$left" >/dev/null && return 0
        left=$((total - ($(date +%s%3N) - start)))
        [ "$left" -gt 1000 ] || return 1
    done
}
wait_window() { probe_wait wait-window "$@"; }
wait_exists() { probe_wait wait-exists "$@"; }
wait_gone() { probe_wait wait-gone "$@"; }
# wait_hidden CLASS MS: until none of that class is on screen (a message box closed while dialogs stay made, hidden).
wait_hidden() { probe_wait wait-hidden "$@"; }
# message_text: the texts of vantrel's message box, a line each, also written to the log.
message_text() {
    local text
    text=$(probe child-texts '#32770' vantrel | tr -d '\r')
    note "message box: $(paste -sd '|' <<<"$text")"
    printf '%s\n' "$text"
}
# answer_message: OK on vantrel's message box, which must then go.
answer_message() {
    probe post '#32770' 0x111 1 0 >/dev/null || fail "cannot answer the message box"
    wait_hidden '#32770' 5000 || fail "the message box stayed after OK"
}
count_windows() { probe count-windows "$@"; }
# count_visible CLASS [TITLE]: those on screen only (the program keeps dialogs made but hidden).
count_visible() { probe count-visible "$@"; }
count_processes() { probe count-processes "$1"; }

# wait_processes EXE N MS: until exactly N processes of that name run.
wait_processes() { probe wait-processes "$1" "$2" "$3" >/dev/null; }

# menu_items [MS]: the open popup menu, one "index<TAB>state<TAB>text" line per item.
menu_items() { probe menu-items "${1:-3000}"; }

# Input goes to the X display; Wine routes it to the window under the pointer or the active Wine window.
mouse_move() { xdotool mousemove "$1" "$2"; }
click() { xdotool mousemove "$1" "$2" sleep 0.1 click "${3:-1}"; }
# key KEYS...: plain key presses (xdotool names: Down, Return, x), sent to the active Wine window.
key() { xdotool key --delay 80 "$@"; }
# The desktop's X window; keyboard input into a popup menu needs it focused with the pointer over the menu.
desktop_xwindow() { xdotool search --name 'shell - Wine desktop' 2>/dev/null | head -n 1; }
focus_desktop() {
    local w
    w=$(desktop_xwindow)
    [ -n "$w" ] && xdotool windowfocus "$w" 2>/dev/null
    return 0
}

# keyboard_focus TITLE: makes sure that keys typed now reach the visible window with that title. Xvfb runs no window
# manager, so Wine gives a window the X keyboard focus itself, when it is mapped, with the time of the last message
# its thread took; the X server refuses a request older than its last focus change. A window activated before it
# is mapped (a message box) can lose that race on a loaded machine: it is the foreground window all the same, but
# the X focus stays on the desktop and the keys never reach it. The harness then gives the focus as a window
# manager would.
keyboard_focus() {
    local title=$1 waited=0 pattern windows
    pattern="^$(sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$title")\$"
    while :; do
        windows=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null)
        [ -n "$windows" ] && grep -qx "$(xdotool getwindowfocus -f 2>/dev/null)" <<<"$windows" && return 0
        [ "$waited" -ge 1500 ] && break
        sleep 0.1
        waited=$((waited + 150))
    done
    [ -n "$windows" ] || fail "no visible window '$title' to give the keyboard to"
    note "the X keyboard focus is on $(xdotool getwindowfocus -f 2>&1), not on '$title': given to it"
    xdotool windowfocus --sync "$(head -n 1 <<<"$windows")" 2>/dev/null || fail "cannot give '$title' the X keyboard focus"
}

# screenshot NAME: the whole display as $E2E_DIR/NAME.png.
screenshot() { import -window root "$E2E_DIR/$1.png" >/dev/null 2>&1; }

# The tray icon that a program adds first sits here in a 1024x768 desktop.
TRAY_ICON_X=1006
TRAY_ICON_Y=750

# right_click_tray_icon [MS]: right-clicks the first notification-area icon until its menu shows; the icon
# appears a moment after its program's window.
right_click_tray_icon() {
    local limit=${1:-6000} waited=0
    while [ "$waited" -lt "$limit" ]; do
        click "$TRAY_ICON_X" "$TRAY_ICON_Y" 3
        wait_window '#32768' 1000 && return 0
        waited=$((waited + 1200))
    done
    return 1
}

# tray_icon_shown: the notification area shows vantrel's icon, found by the amber centre cell of its 16 px
# picture (nothing else in Wine's taskbar has that colour).
tray_icon_shown() {
    local count
    count=$(probe find-color FAB53A 40 900 $((E2E_HEIGHT - 20)) "$E2E_WIDTH" "$E2E_HEIGHT") || return 1
    [ "${count:-0}" -ge 4 ]
}

# wait_tray_icon shown|gone MS
wait_tray_icon() {
    local want=$1 ms=$2 waited=0
    while :; do
        if tray_icon_shown; then
            [ "$want" = shown ] && return 0
        else
            [ "$want" = gone ] && return 0
        fi
        [ "$waited" -ge "$ms" ] && return 1
        sleep 0.2
        waited=$((waited + 400))
    done
}

# menu_index CAPTION: the index of the open menu's item with exactly that caption (with its & marks).
menu_index() {
    menu_items | awk -F'\t' -v want="$1" '$3 == want { print $1; found = 1; exit } END { exit !found }'
}

# choose_menu_item CAPTION: clicks that item of the open menu and waits for the menu to close.
choose_menu_item() {
    local index
    index=$(menu_index "$1") || fail "the open menu has no item '$1'"
    click_menu_item "$index"
    wait_gone '#32768' 3000 || fail "the menu stayed open after choosing '$1'"
}

# The rectangle of the open popup menu: "left top right bottom".
menu_rect() {
    probe list | awk -F'\t' '$3 == "#32768" && $6 == 1 { split($5, r, ","); print r[1], r[2], r[3], r[4]; exit }'
}

# menu_item_y INDEX: the screen row of the middle of the INDEX-th item (from 0) of the open menu. Item
# rectangles cannot be asked for under Wine (GetMenuItemRect is wrong there), so the position comes from the
# menu's rectangle: a 3 px frame, separators 9 px high, and the text items sharing the rest equally (measured
# on Wine 8 screenshots).
menu_item_y() {
    local index=$1 rect items
    rect=$(menu_rect)
    [ -n "$rect" ] || fail "no open popup menu to click in"
    items=$(menu_items) || fail "cannot read the open popup menu"
    local left top right bottom
    read -r left top right bottom <<<"$rect"
    awk -F'\t' -v want="$index" -v top="$top" -v bottom="$bottom" '
        { sep[NR - 1] = ($2 == "separator"); n = NR }
        END {
            seps = 0; for (i = 0; i < n; i++) seps += sep[i];
            # Inner height shared by the text items once borders (3 px each side) and separators are taken.
            sepHeight = 9; inner = bottom - top - 6;
            itemHeight = (inner - seps * sepHeight) / (n - seps);
            y = top + 3;
            for (i = 0; i < want; i++) y += sep[i] ? sepHeight : itemHeight;
            printf "%d\n", y + itemHeight / 2;
        }' <<<"$items"
}

# click_menu_item INDEX: clicks the INDEX-th item (from 0) of the open menu, in the middle of its row.
click_menu_item() {
    local y left right
    y=$(menu_item_y "$1") || exit 1
    read -r left _ right _ <<<"$(menu_rect)"
    click $(((left + right) / 2)) "$y"
}

# appdata_dir: the Unix path of %APPDATA% in the scenario's prefix; settings_dir: its vantrel64 folder
# (which may not exist yet).
appdata_dir() {
    local d
    for d in "$WINEPREFIX"/drive_c/users/*/AppData/Roaming; do
        case "$d" in */Public/*) continue ;; esac
        [ -d "$d" ] && { echo "$d"; return 0; }
    done
    echo "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming"
}
settings_dir() { echo "$(appdata_dir)/vantrel64"; }

# ini_text FILE: a settings file as UTF-8 text without BOM and carriage returns, whatever its encoding
# (UTF-16LE with BOM, UTF-8 with BOM, or plain ANSI).
ini_text() {
    local head
    head=$(head -c 2 "$1" | od -An -tx1 | tr -d ' \n')
    if [ "$head" = "fffe" ]; then
        iconv -f UTF-16LE -t UTF-8 "$1"
    else
        cat "$1"
    fi | sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//'
}

# ini_value FILE SECTION KEY: the first value of KEY in the first SECTION (as the profile functions read it).
ini_value() {
    ini_text "$1" | awk -v sec="[$2]" -v key="$3" '
        /^\[/ { if (seen) exit; inside = (tolower($0) == tolower(sec)); if (inside) seen = 1; next }
        inside { i = index($0, "="); if (i && tolower(substr($0, 1, i - 1)) == tolower(key)) { print substr($0, i + 1); exit } }'
}

# ini_items FILE SECTION: the numbered items of [Program] or [System], one line each,
#   k<TAB>Title<TAB>ExeFileName<TAB>IconFileName<TAB>IconIndex<TAB>Status<TAB>RunasFlag
# from 0 up to the first missing or empty Title, as the program reads them.
ini_items() {
    ini_text "$1" | awk -v sec="[$2]" '
        /^\[/ { if (seen) exit; inside = (tolower($0) == tolower(sec)); if (inside) seen = 1; next }
        inside {
            i = index($0, "="); if (!i) next
            k = tolower(substr($0, 1, i - 1)); if (!(k in val)) val[k] = substr($0, i + 1)
        }
        END {
            for (n = 0; ("title" n) in val && val["title" n] != ""; n++)
                printf "%d\t%s\t%s\t%s\t%s\t%s\t%s\n", n, val["title" n], val["exefilename" n],
                    val["iconfilename" n], val["iconindex" n], val["status" n], val["runasflag" n]
        }'
}

# write_ini FILE TEXT: a settings file as the program writes them: UTF-16LE with BOM, CRLF line ends.
write_ini() {
    mkdir -p "$(dirname "$1")"
    { printf '\xff\xfe'; printf '%s\n' "$2" | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } >"$1"
}

# expect CONDITION-COMMAND... -- REASON: fails with REASON unless the command succeeds.
expect() {
    local args=() reason=""
    while [ $# -gt 0 ]; do
        if [ "$1" = "--" ]; then
            shift
            reason="$*"
            break
        fi
        args+=("$1")
        shift
    done
    "${args[@]}" || fail "${reason:-${args[*]}}"
}

# expect_eq ACTUAL EXPECTED REASON
expect_eq() {
    [ "$1" = "$2" ] || fail "$3 (got '$1', expected '$2')"
}

# program_exited PID MS: true when the background program has ended within MS milliseconds.
program_exited() {
    local pid=$1 ms=$2 waited=0
    while kill -0 "$pid" 2>/dev/null; do
        [ "$waited" -ge "$ms" ] && return 1
        sleep 0.1
        waited=$((waited + 100))
    done
    return 0
}

# winpath UNIX-PATH: the same file as Wine's drive Z: names it.
winpath() {
    local p
    p=$(realpath -m "$1")
    echo "Z:${p//\//\\}"
}

# start_vantrel [EXE]: starts vantrel.exe (or the given copy) and waits for its hidden main window.
start_vantrel() {
    start_program "${1:-$E2E_BIN/vantrel.exe}"
    wait_exists TVantrelMain VantrelMain 15000 || fail "vantrel's main window did not appear"
}

# exit_via_tray_menu PID: "E&xit" from the tray menu; the process must end and its window go.
exit_via_tray_menu() {
    local pid=$1
    right_click_tray_icon || fail "no tray menu after a right click on the tray icon"
    screenshot tray-menu-before-exit
    choose_menu_item 'E&xit'
    program_exited "$pid" 5000 || fail "the process still runs 5 s after E&xit"
    wait_gone TVantrelMain 3000 || fail "the main window is still there after E&xit"
}

# wait_file PATH MS: until the file exists and is not empty.
wait_file() { wait_until "$2" test -s "$1"; }

# wait_until MS COMMAND...: asks COMMAND again every tenth of a second until it succeeds; fails after MS.
wait_until() {
    local ms=$1 waited=0
    shift
    until "$@"; do
        [ "$waited" -ge "$ms" ] && return 1
        sleep 0.1
        waited=$((waited + 100))
    done
}
# tray_areas N: whether N notification areas (the desktop's and stand-ins) are open.
tray_areas() { [ "$(count_windows Shell_TrayWnd)" = "$1" ]; }

# program_copy DIR: a private copy of the program (and the libraries it loads from its own folder) in DIR
# under drive C:, so that a scenario can put test libraries beside it without touching the build.
program_copy() {
    local dir="$WINEPREFIX/drive_c/$1"
    mkdir -p "$dir"
    cp "$E2E_BIN/vantrel.exe" "$dir/" || fail "cannot copy vantrel.exe"
    [ -f "$E2E_BIN/dravik.dll" ] && cp "$E2E_BIN/dravik.dll" "$dir/"
    echo "$dir"
}
