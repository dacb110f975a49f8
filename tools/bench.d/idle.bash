#!/usr/bin/env bash
# The idle cost of the resident program next to the minimal 100 ms poller, measured at the same time; sourced by
# the bench scripts (tools/wine_env.sh first, with a display started).
#
#   idle_ratio MAIN_PREFIX FLOOR_PREFIX SECONDS VANTREL_EXE FLOOR_EXE [SETUP_COMMAND]
#
# Starts vantrel.exe in MAIN_PREFIX (with the settings the prefix holds) and the poller in FLOOR_PREFIX, each in a
# desktop of its own so that each Wine server serves one of them, runs SETUP_COMMAND (a shell command, with
# WINEPREFIX set to MAIN_PREFIX) once vantrel is up, lets them settle and prints the CPU time of each program and
# its Wine server over SECONDS seconds, and the ratio. Both prefixes are stopped afterwards.

idle_cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }

# idle_pid_in_prefix PREFIX PATTERN: the process whose program (first word of its command line) matches the pattern
# and that runs in that prefix. The desktop's explorer names the program too, but only as an argument.
idle_pid_in_prefix() {
    local pid
    for pid in $(pgrep -f "$2" || true); do
        tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -n 1 | grep -q -- "$2" || continue
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$1" && { echo "$pid"; return 0; }
    done
    return 1
}

idle_ratio() {
    local main_prefix=$1 floor_prefix=$2 seconds=$3 vantrel=$4 floor=$5 setup=${6:-}
    local desktop="shell,${WINE_DESKTOP_WIDTH}x${WINE_DESKTOP_HEIGHT}"
    WINEPREFIX="$main_prefix" wine explorer /desktop=$desktop "$(WINEPREFIX="$main_prefix" winepath -w "$vantrel")" \
        >/dev/null 2>&1 &
    sleep 5
    [ -n "$setup" ] && (export WINEPREFIX="$main_prefix"; eval "$setup")
    WINEPREFIX="$floor_prefix" wine explorer /desktop=$desktop \
        "$(WINEPREFIX="$floor_prefix" winepath -w "$floor")" $((seconds + 30)) >/dev/null 2>&1 &
    sleep 8 # start-up settles
    local main_pid floor_pid main_server floor_server
    main_pid=$(idle_pid_in_prefix "$main_prefix" 'vantrel\.exe') || { echo "vantrel.exe is not running" >&2; return 1; }
    floor_pid=$(idle_pid_in_prefix "$floor_prefix" 'launcher_idle_floor\.exe') ||
        { echo "the poller is not running" >&2; return 1; }
    main_server=$(idle_pid_in_prefix "$main_prefix" 'wineserver') || { echo "no Wine server" >&2; return 1; }
    floor_server=$(idle_pid_in_prefix "$floor_prefix" 'wineserver') || { echo "no Wine server" >&2; return 1; }
    local m0 ms0 f0 fs0 m1 ms1 f1 fs1
    m0=$(idle_cpu_ticks "$main_pid"); ms0=$(idle_cpu_ticks "$main_server")
    f0=$(idle_cpu_ticks "$floor_pid"); fs0=$(idle_cpu_ticks "$floor_server")
    sleep "$seconds"
    m1=$(idle_cpu_ticks "$main_pid"); ms1=$(idle_cpu_ticks "$main_server")
    f1=$(idle_cpu_ticks "$floor_pid"); fs1=$(idle_cpu_ticks "$floor_server")
    awk -v hz="$(getconf CLK_TCK)" -v s="$seconds" -v m=$((m1 - m0)) -v ms=$((ms1 - ms0)) -v f=$((f1 - f0)) \
        -v fs=$((fs1 - fs0)) '
        function pct(t) { return 100 * t / hz / s }
        BEGIN {
            printf "idle cost over %d s (CPU time of the program and of its Wine server, %% of one core):\n", s
            printf "  vantrel.exe resident:  %.2f %% (program %.2f %%, server %.2f %%)\n", pct(m + ms), pct(m), pct(ms)
            printf "  minimal 100 ms poller: %.2f %% (program %.2f %%, server %.2f %%)\n", pct(f + fs), pct(f), pct(fs)
            if (f + fs > 0) printf "  ratio: %.2f\n", (m + ms) / (f + fs)
        }'
    WINEPREFIX="$main_prefix" wineserver -k 2>/dev/null; WINEPREFIX="$main_prefix" wineserver -w 2>/dev/null
    WINEPREFIX="$floor_prefix" wineserver -k 2>/dev/null; WINEPREFIX="$floor_prefix" wineserver -w 2>/dev/null
    return 0
}
