#!/usr/bin/env bash
# Package figures: the sizes of the installer and the portable zip, and the time of a silent install and a silent
# uninstall under Wine, each in a fresh copy of a prepared prefix whose server and services already run. Run by
# tools/bench.sh after its build; alone: bash tools/bench.d/package.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
runs=${1:-${PACKAGE_BENCH_RUNS:-5}}

cmake --preset mingw >/dev/null
cmake --build --preset mingw --target package >/dev/null
setup=$(ls build/mingw/vantrel-*-setup.exe)
zip=$(ls build/mingw/vantrel-*-portable.zip)

echo "== packages"
for f in "$setup" "$zip"; do
    printf '  %-32s %8d bytes\n' "$(basename "$f")" "$(stat -c %s "$f")"
done

source tools/wine_env.sh
wine_start_display
template="$root/build/bench-package-template"
work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-package-bench.XXXXXX")
prefix="$work/prefix"
trap '{ wine_stop "$prefix"; wine_forget_server "$prefix"; rm -rf "$work"; wine_stop_display; } || true' EXIT
wine_make_prefix "$template"

now() { date +%s.%N; }
install_times=()
uninstall_times=()
for run in $(seq 1 "$runs"); do
    rm -rf "$prefix"
    wine_copy_prefix "$template" "$prefix"
    wine_start_server "$prefix"
    export WINEPREFIX="$prefix"
    cp "$setup" "$prefix/drive_c/setup.exe"
    # The prefix's own start (services, first registry load) is not the installer's time.
    wine cmd /c exit >/dev/null 2>&1
    t0=$(now)
    wine 'C:\setup.exe' /S >/dev/null 2>&1
    t1=$(now)
    installed=$(ls -d "$prefix"/drive_c/users/*/AppData/Local/Programs/vantrel | head -n 1)
    [ -f "$installed/vantrel.exe" ] || { echo "run $run: nothing was installed" >&2; exit 1; }
    # The uninstaller goes on from a temporary copy of itself; it is done when its folder is gone.
    t2=$(now)
    relative=${installed#"$prefix/drive_c/"}
    wine "C:\\${relative//\//\\}\\uninstall.exe" /S >/dev/null 2>&1
    while [ -e "$installed" ]; do sleep 0.05; done
    t3=$(now)
    install_times+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.0f", (b - a) * 1000 }')")
    uninstall_times+=("$(awk -v a="$t2" -v b="$t3" 'BEGIN { printf "%.0f", (b - a) * 1000 }')")
    wine_stop "$prefix" || true
    wine_forget_server "$prefix" || true
done

summary() {
    printf '%s\n' "${@:2}" | sort -n | awk -v what="$1" '
        { v[NR] = $1 }
        END { printf "  %-18s median %5d ms, best %5d ms, worst %5d ms (%d runs)\n", what, v[int((NR + 1) / 2)], v[1], v[NR], NR }'
}
echo "== silent install and uninstall (under Wine)"
summary "install /S" "${install_times[@]}"
summary "uninstall /S" "${uninstall_times[@]}"
