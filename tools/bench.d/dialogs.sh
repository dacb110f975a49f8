#!/usr/bin/env bash
# Dialog figures under Wine with the default settings: from the command to each of the six dialogs painted, median of
# 30, each next to a minimal dialog program's opening timed between them, and that program alone; and the sizes of
# the help files. (speed.sh measures the same with 200 Program and 200 System items.) Run by tools/bench.sh after its
# build; alone: bash tools/bench.d/dialogs.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
build=$(cd "${1:-${VANTREL_BUILD:-build/mingw}}" && pwd)
runs=${DIALOG_BENCH_RUNS:-30}
for f in bench/dialog_bench.exe bench/dialog_floor.exe; do
    [ -f "$build/$f" ] || { echo "dialog bench: $build/$f is missing (build the mingw preset)" >&2; exit 1; }
done

source tools/wine_env.sh
wine_start_display
prefix="$root/build/bench-dialogs-prefix"
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; wine_stop_display' EXIT
vantrel_prefix "$prefix"
desktop="shell,1024x768"

echo "== dialogs (under Wine)"
# Both in the same desktop, one after the other, so that they meet the same machine.
floor=$(wine explorer /desktop=$desktop "$(winepath -w "$build/bench/dialog_floor.exe")" "$runs" 2>/dev/null | tr -d '\r')
dialog=$(wine explorer /desktop=$desktop "$(winepath -w "$build/bench/dialog_bench.exe")" "$runs" 2>/dev/null | tr -d '\r')
echo "  $floor"
sed 's/^/  /' <<<"$dialog"

echo "== help files"
for f in "$build"/bin/vantrel.chm "$build"/bin/vantrelj.chm; do
    [ -f "$f" ] && printf '  %-14s %8d bytes\n' "$(basename "$f")" "$(stat -c %s "$f")"
done
exit 0
