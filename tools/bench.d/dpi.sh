#!/usr/bin/env bash
# The launcher window at 96, 144 and 192 dpi (100, 150 and 200 %) in one run under Wine: its width and its show
# latency next to the show floor of the same size, with 40 Program items and 10 open windows. Wine takes the DPI from
# the user's LogPixels setting when its server starts, so the server is started anew for each. Run by tools/bench.sh
# after its build; alone: bash tools/bench.d/dpi.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
build=$(cd "${1:-${VANTREL_BUILD:-build/mingw}}" && pwd)
runs=${DPI_BENCH_SHOWS:-30}
for f in bin/vantrel.exe bench/launcher_bench.exe fixtures/vantaskwin_red.exe; do
    [ -f "$build/$f" ] || { echo "dpi bench: $build/$f is missing (build the mingw preset)" >&2; exit 1; }
done

source tools/wine_env.sh
wine_start_display
desktop="shell,1024x768"
prefix="$root/build/bench-dpi-prefix"
stop_prefix() { WINEPREFIX="$1" wineserver -k 2>/dev/null || true; WINEPREFIX="$1" wineserver -w 2>/dev/null || true; }
trap 'WINEPREFIX="$prefix" wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d 96 /f \
    >/dev/null 2>&1 || true; stop_prefix "$prefix"; wine_stop_display' EXIT
vantrel_prefix "$prefix"
export WINEPREFIX="$prefix"

appdata=$(ls -d "$prefix"/drive_c/users/*/AppData/Roaming | grep -v /Public/ | head -n 1)
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

echo "== launcher window at 96, 144 and 192 dpi (under Wine, $runs shows each)"
summary=()
for dpi in 96 144 192; do
    stop_prefix "$prefix"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    stop_prefix "$prefix"
    wine explorer /desktop=$desktop "$(winepath -w "$build/fixtures/vantaskwin_red.exe")" --count 10 --title Window \
        >/dev/null 2>&1 &
    sleep 4
    out=$(wine explorer /desktop=$desktop "$(winepath -w "$build/bench/launcher_bench.exe")" show "$runs" 2>/dev/null |
        tr -d '\r')
    echo "-- $dpi dpi"
    sed 's/^/  /' <<<"$out"
    width=$(sed -nE 's/^ *window: ([0-9]+)x.*/\1/p' <<<"$out")
    median=$(sed -nE 's/^show latency.*median ([0-9.]+) ms, worst.*/\1/p' <<<"$out")
    floor=$(sed -nE 's/^show floor.*median ([0-9.]+) ms, worst.*/\1/p' <<<"$out")
    summary+=("$(printf '  %3d dpi: launcher %4s pixels wide, show median %6s ms (floor %s ms)' "$dpi" "${width:-?}" \
        "${median:-?}" "${floor:-?}")")
done
echo "summary (ColMax 7):"
printf '%s\n' "${summary[@]}"
