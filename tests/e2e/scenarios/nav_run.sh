# Enter runs the Program item under the cursor and hides the window: a program without a working folder
# starts in its own folder, one with %TEMP% in the expanded temporary folder, each with its parameters.
source "$(dirname "$E2E_SCENARIO")/launcher_helpers.bash"

ini="$(settings_dir)/vantrel.ini"
writer="$E2E_BUILD/fixtures/argwriter/argwriter.exe"
[ -f "$writer" ] || fail "no argwriter fixture at $writer"
writer_win=$(winpath "$writer")
writer_dir=$(winpath "$(dirname "$writer")")
temp_dir=$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r' | tail -n 1)
[ -n "$temp_dir" ] || fail "cannot ask Wine for the temporary folder"

# run_item DIRECTORY EXPECTED-CWD: one item, run with Enter from a fresh start.
run_item() {
    local directory=$1 expected=$2 out cwd
    out="$E2E_DIR/args-$RANDOM.txt"
    rm -f "$out"
    write_ini "$ini" "[Option]
ColMax=10
[Program]
Title0=Writer
ExeFileName0=$writer_win
IconFileName0=$writer_win
IconIndex0=0
ArgumentName0=first \"second part\"
DirectoryName0=$directory
Status0=0"
    VANTREL_ARGWRITER_OUT=$(winpath "$out") start_vantrel
    local pid=$E2E_LAST_PID
    wait_tray_icon shown 10000 || fail "vantrel's icon does not show"
    mouse_move 900 100
    hot_key
    wait_launcher shown 5000 || fail "the hot key did not show the launcher window"
    sleep 0.3
    key Return
    wait_file "$out" 10000 || fail "Enter did not start the writer (folder '$directory')"
    wait_launcher hidden 3000 || fail "the launcher window stayed up after the run"
    note "folder '$directory': $(tr '\n' ' ' <"$out")"
    cwd=$(sed -n 's/^cwd=//p' "$out" | tr -d '\r')
    # Wine spells folders as it likes (case, a trailing backslash): compared without either.
    expect_eq "$(tr '[:upper:]' '[:lower:]' <<<"${cwd%\\}")" "$(tr '[:upper:]' '[:lower:]' <<<"${expected%\\}")" \
        "working folder of an item with folder '$directory'"
    expect_eq "$(sed -n 's/^arg=//p' "$out" | tr -d '\r' | tr '\n' '|')" "first|second part|" "arguments"
    exit_via_tray_menu "$pid"
}

run_item "" "$writer_dir"
run_item "%TEMP%" "$temp_dir"
