# The first start writes %APPDATA%\vantrel64\vantrel.ini in UTF-16LE with a byte-order mark, with a [System]
# section holding the default system items and the prefix's drives C:\ and Z:\, numbered without gaps.

ini="$(settings_dir)/vantrel.ini"
[ -e "$ini" ] && fail "the fresh prefix already has $ini"

start_vantrel
pid=$E2E_LAST_PID
wait_tray_icon shown 10000 || fail "vantrel's icon does not show in the notification area"
wait_file "$ini" 5000 || fail "no vantrel.ini after the first start"
cp "$ini" "$E2E_DIR/vantrel.ini"

expect_eq "$(head -c 2 "$ini" | od -An -tx1 | tr -d ' \n')" fffe "first bytes of vantrel.ini (UTF-16LE BOM)"
items=$(ini_items "$ini" System)
note "$items"
[ -n "$items" ] || fail "vantrel.ini has no [System] items"

# item TITLE EXE STATUS: the item with that title exists, runs EXE (a pattern) and has that Status.
item() {
    local line
    line=$(awk -F'\t' -v t="$1" '$2 == t' <<<"$items")
    [ -n "$line" ] || fail "no [System] item titled '$1'"
    IFS=$'\t' read -r _ _ exe _ _ status _ <<<"$line"
    # shellcheck disable=SC2053
    [[ $exe == $2 ]] || fail "'$1' runs '$exe', expected '$2'"
    expect_eq "$status" "$3" "Status of '$1'"
}
item 'This PC' MyComputer 11
item Network NetWork 11
item Documents MyDocument 3
item 'Control panel' ControlPanel 11
item Desktop DeskTop 11
item 'Recycle Bin' DustBox 11
item Shutdown Exit 3
item Sleep Suspend 3
item 'Command prompt' '*[Cc][Mm][Dd].[Ee][Xx][Ee]' 5

for drive in 'C:\' 'Z:\'; do
    line=$(awk -F'\t' -v d="$drive" '$3 == d' <<<"$items")
    [ -n "$line" ] || fail "no [System] item for the drive $drive"
    IFS=$'\t' read -r _ _ _ icon index status _ <<<"$line"
    expect_eq "$status" 1 "Status of the drive $drive"
    expect_eq "$icon|$index" "$drive|-1" "icon of the drive $drive"
done

# Without the helper library nothing reports Windows 10, so there is no Settings item.
awk -F'\t' '$3 == "ms-settings:"' <<<"$items" | grep -q . && fail "a Settings item without the helper library"
# Used items come first: the one unused default, the command prompt, is last.
last=$(tail -n 1 <<<"$items" | cut -f2)
expect_eq "$last" 'Command prompt' "last [System] item"
# Every numbered key belongs to an item read above: no gap and nothing beyond it.
keys=$(ini_text "$ini" | awk '/^\[/ { inside = (tolower($0) == "[system]"); next }
    inside && /^Title[0-9]+=/ { n++ } END { print n + 0 }')
expect_eq "$keys" "$(wc -l <<<"$items")" "Title keys in [System]"
# Options and the environment list are written only when the user changes them.
ini_text "$ini" | grep -qi '^\[Option\]' && fail "the first start wrote an [Option] section"

exit_via_tray_menu "$pid"
