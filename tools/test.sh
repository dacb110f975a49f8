#!/usr/bin/env bash
# Sets up, builds and runs every test: the native model suites (sanitizers), the Windows adapter suites
# under Wine, the end-to-end scenarios of the real program and a short fuzzing run. Ends with one summary.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash tools/setup.sh || exit 1
source tools/wine_env.sh

passed=0
failed=0
declare -a failures=()

# count_ctest LOGFILE LAYER: adds ctest's own totals to ours.
count_ctest() {
    local line total bad
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
    if [ -z "$line" ]; then
        failed=$((failed + 1)); failures+=("$2: no test report"); return
    fi
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*tests passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad)); failed=$((failed + bad))
    [ "$bad" -eq 0 ] || failures+=("$2: $bad failed")
}

step() { echo; echo "=== $*"; }

mkdir -p build
step "code format"
# The tree follows its .clang-format; a file that does not fails here, with the places named.
if git ls-files -co --exclude-standard -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror 2>build/format.log; then
    passed=$((passed + 1)); echo "clang-format: every file follows .clang-format"
else
    grep -E '^[^ ].*(warning|error):' build/format.log | head -n 20
    failed=$((failed + 1)); failures+=("format: $(grep -c 'warning:\|error:' build/format.log) places differ from .clang-format")
fi

step "native build (ASan + UBSan)"
if cmake --preset native >/dev/null && cmake --build --preset native; then
    step "native tests"
    ctest --preset native -j2 --timeout 300 2>&1 | tee build/native-ctest.log | tail -n 5
    count_ctest build/native-ctest.log native
else
    failed=$((failed + 1)); failures+=("native build")
fi

step "MinGW build"
# The packages too: the end-to-end scenarios install and unpack them.
if cmake --preset mingw >/dev/null && cmake --build --preset mingw && cmake --build --preset mingw --target package; then
    ls -l build/mingw/bin/*.exe build/mingw/bin/*.dll build/mingw/vantrel-*-setup.exe build/mingw/vantrel-*-portable.zip \
        2>/dev/null
    wine_start_display own
    vantrel_prefix "$root/build/wine-prefix"
    step "Windows tests under Wine"
    # Wine's own services (and any window a test opens through the shell) outlive a test program; started
    # here with no output attached, they cannot hold a test's output open after it ends.
    wineboot >/dev/null 2>&1 </dev/null
    mkdir -p build/wine-logs
    while read -r name exe; do
        log="build/wine-logs/$name.log"
        timeout 300 wine "$exe" >"$log" 2>&1 </dev/null
        code=$?
        ok=$(grep -E '^\[  PASSED  \] [0-9]+ test' "$log" | grep -oE '[0-9]+' | head -n 1)
        bad=$(grep -E '^\[  FAILED  \] [0-9]+ test' "$log" | grep -oE '[0-9]+' | head -n 1)
        passed=$((passed + ${ok:-0})); failed=$((failed + ${bad:-0}))
        if [ "$code" -ne 0 ] || [ -z "$ok" ]; then
            grep -E '^\[  FAILED  \]|Failure' -A4 "$log" | head -n 40; tail -n 5 "$log"
            [ -n "$bad" ] || failed=$((failed + 1))
            failures+=("$name (exit $code)")
        fi
        echo "$name: ${ok:-0} passed, ${bad:-0} failed"
    done < <(cd build/mingw && ctest --show-only=json-v1 -LE e2e | python3 -c '
import json, sys
for test in json.load(sys.stdin)["tests"]:
    print(test["name"], test["command"][-1])')
    wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
    wine_stop_display
    if [ -x tests/e2e/run.sh ]; then
        step "end-to-end scenarios"
        # Two scenarios at a time where there are two cores: each has a display and a Wine server of its own.
        jobs=1; [ "$(nproc)" -lt 2 ] || jobs=2
        E2E_JOBS=${E2E_JOBS:-$jobs} bash tests/e2e/run.sh "$root/build/mingw/bin" 2>&1 | tee build/e2e.log | tail -n 60
        line=$(grep -E '^[0-9]+ passed, [0-9]+ failed' build/e2e.log | tail -n 1)
        if [ -n "$line" ]; then
            p=$(cut -d' ' -f1 <<<"$line"); f=$(cut -d' ' -f3 <<<"$line")
            passed=$((passed + p)); failed=$((failed + f))
            [ "$f" -eq 0 ] || failures+=("e2e: $f failed")
        else
            failed=$((failed + 1)); failures+=("e2e: no report")
        fi
    fi
else
    failed=$((failed + 1)); failures+=("MinGW build")
fi

step "fuzzing (short runs)"
if cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null; then
    for target in ini_fuzz settings_fuzz; do
        mkdir -p "build/fuzz-corpus/$target"
        if "build/fuzz/fuzz/$target" -max_total_time="${VANTREL_FUZZ_SECONDS:-15}" "build/fuzz-corpus/$target" \
            2>"build/$target.log"; then
            passed=$((passed + 1)); echo "$target: no crash ($(grep -o 'Done [0-9]* runs' "build/$target.log"))"
        else
            tail -n 30 "build/$target.log"
            failed=$((failed + 1)); failures+=("$target found a crash")
        fi
    done
else
    failed=$((failed + 1)); failures+=("fuzz build")
fi

echo
for f in "${failures[@]}"; do echo "FAILED: $f"; done
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
