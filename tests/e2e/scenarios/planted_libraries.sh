# A portable copy of vantrel in Downloads, where anyone may have placed libraries named like the system's
# (winmm.dll, mpr.dll, oleacc.dll) and a program named like the help viewer (hh.exe) beside it: none of them runs
# through start, About, a screen reader, Help and running an item, and an item with no folder of its own starts in
# the user's profile, not where vantrel was started. Wine takes its own copy of a system library even when the
# search finds another first; told to prefer the one found, as Windows does, it shows the search order the program
# asks for. version.dll and shcore.dll cannot be shown so: Wine's own advapi32 and comctl32 load them before the
# program runs a line, from the program's folder (Windows loads those two from its known libraries). For them, and
# for any library added later, the import table is checked instead: the loader resolves it before the program
# starts, so it may name only the system's known libraries, and the common controls, which the manifest names.
# e2e-limit: 90
source "$(dirname "$E2E_SCENARIO")/dialog_helpers.bash"

known=" advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt "
known+="normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32 comctl32 "
for name in $(x86_64-w64-mingw32-objdump -p "$E2E_BIN/vantrel.exe" | sed -n 's/^\s*DLL Name: //p' |
    tr '[:upper:]' '[:lower:]' | sed 's/\.dll$//'); do
    [[ $known == *" $name "* ]] || fail "vantrel.exe imports $name.dll, which the loader may take from its folder"
done

dir=$(program_copy users/Public/Downloads/vantrel)
touch "$dir/vantrel.portable"
cp "$E2E_BIN/vantrel.chm" "$dir/" || fail "no help file to copy"
for name in winmm mpr oleacc; do
    cp "$E2E_BUILD/fixtures/planted/vanplanted.dll" "$dir/$name.dll" || fail "no planted library fixture"
done
# The argument writer stands for both the planted viewer and the user's own tool, found on the PATH by its bare
# name.
cp "$E2E_BUILD/fixtures/argwriter/argwriter.exe" "$dir/hh.exe" || fail "no argwriter fixture"
mkdir -p "$WINEPREFIX/drive_c/tools"
cp "$E2E_BUILD/fixtures/argwriter/argwriter.exe" "$WINEPREFIX/drive_c/tools/"
out="$E2E_DIR/args.txt"
profile=$(wine cmd /c echo %USERPROFILE% 2>/dev/null | tr -d '\r' | tail -n 1)
[ -n "$profile" ] || fail "cannot ask Wine for the user's profile"
write_ini "$dir/vantrel.ini" "[Program]
Title0=Writer
ExeFileName0=argwriter.exe
Status0=0"

WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winmm,mpr,oleacc=n,b" WINEPATH='C:\tools' \
    VANTREL_ARGWRITER_OUT=$(winpath "$out") start_vantrel "$dir/vantrel.exe"
wait_tray_icon shown 10000 || fail "vantrel's icon does not show"

open_dialog '&About...' About
key Return
wait_dialog_gone About 5000 || fail "OK did not close About"
show_launcher
access tree TVanMainForm 5000 >/dev/null || fail "the launcher window has no accessible client object"
key Return
wait_file "$out" 10000 || fail "Enter did not start the item"
cwd=$(sed -n 's/^cwd=//p' "$out" | tr -d '\r')
expect_eq "$(tr '[:upper:]' '[:lower:]' <<<"${cwd%\\}")" "$(tr '[:upper:]' '[:lower:]' <<<"${profile%\\}")" \
    "working folder of an item without one"
rm -f "$out"

# Wine's shell finds its own viewer before the one beside the program even by name; the viewer is checked to
# be the system's all the same.
tray_command '&Help'
wait_window 'HH Parent' 8000 || fail "the system's help viewer did not open"
pkill -f 'hh\.exe' || true
[ -f "$out" ] && fail "the hh.exe beside the program ran: $(tr '\n' ' ' <"$out")"
loaded=$(cd "$dir" && ls -- *.loaded 2>/dev/null | tr '\n' ' ')
[ -z "$loaded" ] || fail "libraries beside the program were loaded: $loaded"
