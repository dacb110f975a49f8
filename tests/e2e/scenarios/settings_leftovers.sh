# Temporary files that settings writes cut short left beside the settings files are removed at the next
# start; every other file in the settings folder stays, and so do the settings.

dir=$(settings_dir)
write_ini "$dir/vantrel.ini" "[Option]
ColMax=5"
for name in vantrel.ini.1a2b-0.tmp vantrel2.ini.ff-3.tmp; do echo torn >"$dir/$name"; done
for name in notes.tmp vantrel.ini.bak vantrel.ini.1-2.tmp.keep; do echo mine >"$dir/$name"; done

start_vantrel
wait_tray_icon shown 10000 || fail "vantrel's icon does not show"
for name in vantrel.ini.1a2b-0.tmp vantrel2.ini.ff-3.tmp; do
    [ -e "$dir/$name" ] && fail "the leftover $name is still there after the start"
done
for name in notes.tmp vantrel.ini.bak vantrel.ini.1-2.tmp.keep; do
    [ -e "$dir/$name" ] || fail "the start removed $name, which is not vantrel's"
done
expect_eq "$(ini_value "$dir/vantrel.ini" Option ColMax)" 5 "ColMax in the settings file"
