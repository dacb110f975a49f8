#!/usr/bin/env bash
# End-to-end scenarios of vantrel.exe in a Wine virtual desktop.
#
#   tests/e2e/run.sh <bin-dir> [name ...]
#
# <bin-dir> holds vantrel.exe, vanprobe.exe and vanprobe_hook.dll (build/mingw/bin); the fixtures and the
# harness's own test program are taken from the build folder above it. Without names every scenario of
# tests/e2e/scenarios runs; with names only those (file names without .sh, shell patterns allowed).
#
# Each scenario gets a fresh copy of a template prefix (made once and kept in build/e2e-prefix-template) and
# at most 60 seconds. Output: one "PASS name (Ns)" or "FAIL name: reason" line per scenario (the time of a
# failed one is in its output.log), then "N passed, M failed"; the exit status is non-zero when a scenario
# failed. Screenshots and logs stay in build/e2e-results/<run>/<scenario>/. E2E_JOBS=N runs N scenarios at a
# time, each on a display of its own. E2E_SCENARIO_DIR runs the scenarios of another folder (the harness's
# own checks), E2E_SCENARIO_LIMIT changes the 60 s limit; a scenario that needs longer says so in a line
# "# e2e-limit: <seconds>"; with E2E_TRACE=1 the scenario's output.log traces every command with its time.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

if [ $# -lt 1 ] || [ ! -d "$1" ]; then
    echo "usage: $0 <bin-dir> [scenario ...]" >&2
    exit 2
fi
bin=$(cd "$1" && pwd)
shift

source "$here/lib.sh"

for tool in wine wineserver Xvfb xdotool xdpyinfo import iconv flock timeout; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (bash tools/setup.sh installs it)" >&2; exit 2; }
done
[ -f "$bin/vanprobe.exe" ] || { echo "e2e: $bin/vanprobe.exe is missing; build the mingw preset" >&2; exit 2; }

SCENARIO_LIMIT=${E2E_SCENARIO_LIMIT:-60}
template="$root/build/e2e-prefix-template"
results=${E2E_RESULTS:-"$root/build/e2e-results/$(date +%Y%m%d-%H%M%S)-$$"}
work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-e2e.XXXXXX")
mkdir -p "$results"
# Results of older runs are kept for a while: the newest ten.
ls -1dt "$root"/build/e2e-results/*/ 2>/dev/null | tail -n +11 | while IFS= read -r old; do rm -rf "$old"; done

cleanup() {
    local p
    for p in "$work"/*/prefix; do
        [ -d "$p" ] && wine_stop "$p" && wine_forget_server "$p"
    done
    wine_stop_display
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Our own display, whatever DISPLAY says: the scenarios click at fixed places and must own the screen.
unset DISPLAY
wine_start_display own || exit 2
wine_make_prefix "$template" shell || exit 2

scenarios=()
for f in "${E2E_SCENARIO_DIR:-$here/scenarios}"/*.sh; do
    [ -f "$f" ] || continue
    name=$(basename "$f" .sh)
    if [ $# -gt 0 ]; then
        wanted=0
        for pattern in "$@"; do
            # shellcheck disable=SC2053
            [[ $name == $pattern ]] && wanted=1
        done
        [ $wanted -eq 1 ] || continue
    fi
    scenarios+=("$f")
done

# run_one SCENARIO-FILE: runs one scenario on this shell's display and prints its PASS or FAIL line.
run_one() {
    local f=$1 name dir prefix start limit rc seconds reason
    name=$(basename "$f" .sh)
    dir="$results/$name"
    prefix="$work/$name/prefix"
    mkdir -p "$dir" "$work/$name"
    start=$(date +%s.%N)
    limit=$(sed -nE 's/^# e2e-limit: ([0-9]+)( .*)?$/\1/p' "$f" | head -n 1)
    [ -n "$limit" ] && [ "$limit" -gt "$SCENARIO_LIMIT" ] || limit=$SCENARIO_LIMIT
    if ! wine_copy_prefix "$template" "$prefix" || ! wine_start_server "$prefix"; then
        echo "FAIL $name: cannot prepare a Wine prefix"
        wine_stop "$prefix"
        return
    fi
    # The first Windows program of a prefix starts the desktop and the prefix's services, which live until
    # the scenario ends and keep the program's output open. Started here with nothing attached, so that a
    # scenario reading a program's output through a pipe ($(probe ...)) is never held by them.
    if ! WINEPREFIX="$prefix" timeout 30 wine "$bin/vanprobe.exe" wait-window Shell_TrayWnd 20000 \
        >/dev/null 2>&1 </dev/null; then
        echo "FAIL $name: the Wine desktop did not start"
        wine_stop "$prefix"
        wine_forget_server "$prefix"
        rm -rf "$prefix"
        return
    fi
    # The scenario runs in a shell of its own, so a failure (exit) or a hang ends only the scenario.
    E2E_BIN="$bin" E2E_BUILD=$(dirname "$bin") E2E_ROOT="$root" E2E_DIR="$dir" E2E_LIB="$here/lib.sh" E2E_SCENARIO="$f" \
        WINEPREFIX="$prefix" DISPLAY="$DISPLAY" \
        timeout -k 5 "$limit" bash ${E2E_TRACE:+-x} -c 'source "$E2E_LIB" && source "$E2E_SCENARIO"' \
        >"$dir/output.log" 2>&1
    rc=$?
    # Whatever the scenario left running ends with it; a screenshot first if it failed.
    if [ $rc -ne 0 ]; then
        import -window root "$dir/at-failure.png" >/dev/null 2>&1
    fi
    wine_stop "$prefix"
    wine_forget_server "$prefix"
    rm -rf "$prefix"
    seconds=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
    echo "scenario time: ${seconds}s, exit status $rc" >>"$dir/output.log"
    if [ $rc -eq 0 ]; then
        echo "PASS $name (${seconds}s)"
    else
        if [ $rc -eq 124 ] || [ $rc -eq 137 ]; then
            reason="did not finish within ${limit} s"
        elif [ -s "$dir/reason" ]; then
            reason=$(head -n 1 "$dir/reason")
        else
            reason="exit status $rc (see $dir/output.log)"
        fi
        echo "FAIL $name: $reason"
    fi
}

# E2E_JOBS=N runs N scenarios at a time, each worker on a display of its own taking the next scenario from a
# shared queue; the lines come out as scenarios end.
jobs=${E2E_JOBS:-1}
[ "$jobs" -ge 1 ] 2>/dev/null || jobs=1
[ "$jobs" -le "${#scenarios[@]}" ] || jobs=${#scenarios[@]}
lines="$work/lines"
: >"$lines"
if [ "$jobs" -le 1 ]; then
    for f in "${scenarios[@]}"; do
        run_one "$f" | tee -a "$lines"
    done
else
    queue="$work/queue"
    printf '%s\n' "${scenarios[@]}" >"$queue"
    next_scenario() { flock "$queue.lock" sh -c 'head -n 1 "$1"; sed -i 1d "$1"' _ "$queue"; }
    workers=()
    for i in $(seq 1 "$jobs"); do
        (
            trap - EXIT
            unset DISPLAY WINE_XVFB_PID
            wine_start_display own || exit 2
            while f=$(next_scenario) && [ -n "$f" ]; do
                line=$(run_one "$f")
                echo "$line" >>"$lines"
                echo "$line"
            done
            wine_stop_display
        ) &
        workers+=($!)
    done
    # Only the workers: the display of this shell is a child too and lives on.
    wait "${workers[@]}"
fi
passed=$(grep -c '^PASS ' "$lines")
failed=$(grep -c '^FAIL ' "$lines")
missing=$((${#scenarios[@]} - passed - failed))
[ "$missing" -eq 0 ] || { echo "FAIL: $missing scenarios did not report"; failed=$((failed + missing)); }

[ $failed -eq 0 ] || echo "logs and screenshots: $results"
echo "$passed passed, $failed failed in ${SECONDS} s (template prefix included)"
[ $failed -eq 0 ]
