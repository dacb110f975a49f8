#!/usr/bin/env bash
# Icon registration figures under Wine, with 200 Program and 200 System items (each with an icon of its own):
# from the tray icon's left click to the dialog with its grid painted, median of 30 openings; one drag step
# (reorder and repaint), median of 300. Run by tools/bench.sh after its build; alone:
#   bash tools/bench.d/registration.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
build=$(cd "${1:-${VANTREL_BUILD:-build/mingw}}" && pwd)
runs=${REGISTRATION_BENCH_RUNS:-30}
[ -f "$build/bench/registration_bench.exe" ] ||
    { echo "registration bench: $build/bench/registration_bench.exe is missing (build the mingw preset)" >&2; exit 1; }

source tools/wine_env.sh
wine_start_display
prefix="$root/build/bench-registration-prefix"
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; wine_stop_display' EXIT
vantrel_prefix "$prefix"

# The settings: 200 Program items and 188 System items, to which the program adds its 12 built-in ones; the icons
# taken in turn from the system's icon library, 20 columns.
roaming=$(ls -d "$prefix"/drive_c/users/*/AppData/Roaming | grep -v /Public/ | head -n 1)
mkdir -p "$roaming/vantrel64"
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
} | sed 's/$/\r/' | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$roaming/vantrel64/vantrel.ini"

echo "== icon registration (under Wine)"
wine explorer /desktop=shell,1024x768 "$(winepath -w "$build/bench/registration_bench.exe")" "$runs" 2>/dev/null |
    tr -d '\r' | sed 's/^/  /'
exit 0
