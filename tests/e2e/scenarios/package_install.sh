# The package target's installer, silently and without administrator rights: the program in the user's
# programs folder with a Start menu shortcut, the start at log-in and the Apps & features entry; the installed
# copy runs from there; a second install over the running copy asks it to end, replaces it and starts the new
# one; the silent uninstall removes everything of the program and keeps the user's settings. An upgrade over an
# older install takes over its start at log-in and removes its uninstall.exe. Installed into a folder with a
# space that another product shares, the start at log-in still starts vantrel and no program planted at the
# space (its Run value is quoted), and the other product's uninstall.exe stays through the install and the
# uninstall.
#
# e2e-limit: 100 (three installs, two uninstalls and several program starts)

source "$(dirname "$E2E_SCENARIO")/package_helpers.bash"

setup=$(package_file setup)
version=$(package_version "$setup")
cp "$setup" "$WINEPREFIX/drive_c/setup.exe" || fail "cannot copy the installer into the prefix"

appdata=$(appdata_dir)
settings=$(settings_dir)
installed="$(dirname "$appdata")/Local/Programs/vantrel"
installed_win=$(windows_path "$installed")
shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/vantrel.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\vantrel'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# Settings the user already has: the uninstaller must leave them.
write_ini "$settings/vantrel.ini" $'[Program]\nTitle0=Kept by the uninstaller\nExeFileName0=C:\\windows\\notepad.exe'

# First install.
timeout 60 wine 'C:\setup.exe' /S >>"$E2E_DIR/setup.log" 2>&1
expect_eq "$?" 0 "exit status of the silent install"
for f in vantrel.exe dravik.dll vantrel-uninstall.exe; do
    [ -f "$installed/$f" ] || fail "$f is not in $installed"
done
cmp -s "$installed/vantrel.exe" "$E2E_BIN/vantrel.exe" || fail "the installed vantrel.exe is not the built one"
[ -f "$shortcut" ] || fail "no Start menu shortcut at $shortcut"
expect_eq "$(count_processes vantrel.exe)" 0 "vantrel processes after a silent first install"

entry=$(reg_query "$uninstall_key") || fail "no Apps & features entry $uninstall_key"
echo "$entry" >"$E2E_DIR/uninstall-entry.txt"
expect_eq "$(reg_field "$entry" DisplayName)" vantrel "DisplayName"
expect_eq "$(reg_field "$entry" DisplayVersion)" "$version" "DisplayVersion"
expect_eq "$(reg_field "$entry" Publisher)" "vantrel developers" "Publisher"
expect_eq "$(reg_field "$entry" DisplayIcon)" "$installed_win\\vantrel.exe,0" "DisplayIcon"
expect_eq "$(reg_field "$entry" InstallLocation)" "$installed_win" "InstallLocation"
expect_eq "$(reg_field "$entry" UninstallString)" "\"$installed_win\\vantrel-uninstall.exe\"" "UninstallString"
expect_eq "$(reg_field "$entry" QuietUninstallString)" "\"$installed_win\\vantrel-uninstall.exe\" /S" \
    "QuietUninstallString"
size_kb=$(($(reg_field "$entry" EstimatedSize)))
files_kb=$(($(cat "$installed"/* | wc -c) / 1024))
[ "$size_kb" -ge "$files_kb" ] && [ "$size_kb" -le $((files_kb + 64)) ] ||
    fail "EstimatedSize is $size_kb KB for $files_kb KB of files"
expect_eq "$(reg_field "$(reg_query "$run_key")" Vantrel64)" "\"$installed_win\\vantrel.exe\"" \
    "the Run value (the program's full path in quotes)"

# The installed copy runs, with its settings in %APPDATA%.
start_vantrel "$installed/vantrel.exe"
first=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "the installed copy shows no tray icon"
expect_eq "$(probe process-paths vantrel.exe)" "$installed_win\\vantrel.exe" "path of the running vantrel"
[ -e "$installed/vantrel.ini" ] && fail "the installed copy keeps settings beside itself"

# A second install over the running copy, made to look like an older install first: its library, version,
# uninstaller and the Run value as it wrote them.
printf 'an older library' >"$installed/dravik.dll"
printf 'an older uninstaller' >"$installed/uninstall.exe"
rm "$installed/vantrel-uninstall.exe"
wine reg add "$uninstall_key" /v DisplayVersion /d 0.9.0.0 /f >/dev/null 2>&1
wine reg add "$uninstall_key" /v UninstallString /d "\"$installed_win\\uninstall.exe\"" /f >/dev/null 2>&1
wine reg add "$run_key" /v Vantrel64 /d "$installed_win\\vantrel.exe" /f >/dev/null 2>&1
timeout 60 wine 'C:\setup.exe' /S >>"$E2E_DIR/setup.log" 2>&1
expect_eq "$?" 0 "exit status of the silent upgrade"
program_exited "$first" 15000 || fail "the running copy did not end during the upgrade"
wait "$first"
expect_eq "$?" 0 "exit status of the copy the upgrade asked to end (not 0: ended by force)"
wait_exists TVantrelMain VantrelMain 15000 || fail "vantrel does not run again after the silent upgrade"
wait_processes vantrel.exe 1 10000 || fail "not exactly one vantrel after the upgrade"
expect_eq "$(probe process-paths vantrel.exe)" "$installed_win\\vantrel.exe" "path of vantrel after the upgrade"
cmp -s "$installed/dravik.dll" "$E2E_BIN/dravik.dll" || fail "the upgrade did not replace dravik.dll"
[ -e "$installed/uninstall.exe" ] && fail "the upgrade left the older install's uninstall.exe"
[ -f "$installed/vantrel-uninstall.exe" ] || fail "the upgrade wrote no vantrel-uninstall.exe"
expect_eq "$(reg_field "$(reg_query "$run_key")" Vantrel64)" "\"$installed_win\\vantrel.exe\"" \
    "the Run value after an upgrade over an older install's (kept on, now in quotes)"
expect_eq "$(reg_field "$(reg_query "$uninstall_key")" DisplayVersion)" "$version" "DisplayVersion after the upgrade"
wait_tray_icon shown 10000 || fail "the upgraded copy shows no tray icon"
screenshot after-upgrade

# The silent uninstall, as Apps & features runs it; it goes on from a temporary copy of itself.
quiet=$(reg_field "$(reg_query "$uninstall_key")" QuietUninstallString)
uninstaller=${quiet%\" /S}
uninstaller=${uninstaller#\"}
timeout 60 wine "$uninstaller" /S >>"$E2E_DIR/setup.log" 2>&1
# The entry goes last.
wait_until 20000 key_gone "$uninstall_key" || fail "the Apps & features entry is still there"
path_gone "$installed" || fail "$installed is still there after the uninstall: $(ls "$installed")"
wait_processes vantrel.exe 0 10000 || fail "vantrel still runs after the uninstall"
[ -e "$shortcut" ] && fail "the Start menu shortcut is still there"
[ -n "$(reg_field "$(reg_query "$run_key")" Vantrel64)" ] && fail "the Run value is still there"
expect_eq "$(ini_value "$settings/vantrel.ini" Program Title0)" 'Kept by the uninstaller' "the user's settings"

# A folder with a space that another product shares.
shared="$WINEPREFIX/drive_c/My Tools"
shared_win='C:\My Tools'
mkdir -p "$shared"
printf "another product's uninstaller" >"$shared/uninstall.exe"
# The installer takes /D= last and unquoted, spaces and all: given through cmd, which passes the line as it is.
timeout 60 wine cmd /c "C:\setup.exe /S /D=$shared_win" >>"$E2E_DIR/setup.log" 2>&1
expect_eq "$?" 0 "exit status of the silent install into $shared_win"
[ -f "$shared/vantrel.exe" ] || fail "nothing installed into $shared_win: $(ls "$shared")"
expect_eq "$(cat "$shared/uninstall.exe")" "another product's uninstaller" \
    "the other product's uninstall.exe after the install"
# Unquoted, the value would start a C:\My.exe at log-in.
expect_eq "$(reg_field "$(reg_query "$run_key")" Vantrel64)" "\"$shared_win\\vantrel.exe\"" \
    "the Run value of a copy in $shared_win"
quiet=$(reg_field "$(reg_query "$uninstall_key")" QuietUninstallString)
expect_eq "$quiet" "\"$shared_win\\vantrel-uninstall.exe\" /S" "QuietUninstallString in $shared_win"
timeout 60 wine "$shared_win\\vantrel-uninstall.exe" /S >>"$E2E_DIR/setup.log" 2>&1
wait_until 20000 key_gone "$uninstall_key" || fail "the Apps & features entry of $shared_win is still there"
wait_until 10000 path_gone "$shared/vantrel.exe" || fail "the uninstall left vantrel.exe in $shared_win"
expect_eq "$(ls "$shared")" uninstall.exe "what the uninstall left in $shared_win"
expect_eq "$(cat "$shared/uninstall.exe")" "another product's uninstaller" "the other product's uninstall.exe"
[ -z "$(reg_field "$(reg_query "$run_key")" Vantrel64)" ] || fail "the Run value of $shared_win is still there"
