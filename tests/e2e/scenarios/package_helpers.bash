# Helpers of the package scenarios (package_*.sh): the packages that the package target made in the build folder,
# and the registry as `wine reg` shows it.

# package_file setup|portable: the one installer or zip of the build.
package_file() {
    local pattern
    case "$1" in
    setup) pattern='vantrel-*-setup.exe' ;;
    portable) pattern='vantrel-*-portable.zip' ;;
    esac
    local found=("$E2E_BUILD"/$pattern)
    [ -f "${found[0]}" ] || fail "no $pattern in $E2E_BUILD (cmake --build --preset mingw --target package)"
    [ ${#found[@]} -eq 1 ] || fail "more than one $pattern in $E2E_BUILD"
    echo "${found[0]}"
}

# package_version FILE: the version in a package's name.
package_version() { basename "$1" | sed -E 's/^vantrel-(.*)-(setup\.exe|portable\.zip)$/\1/'; }

# windows_path UNIX-PATH: a path under the prefix's drive_c as Windows names it (C:\...).
windows_path() {
    local relative=${1#"$WINEPREFIX/drive_c/"}
    echo "C:\\${relative//\//\\}"
}

# reg_query KEY: every value of the key, one "name<TAB>data" line each; fails when the key does not exist.
reg_query() {
    local out
    out=$(wine reg query "$1" 2>/dev/null) || return 1
    out=${out//$'\r'/}
    awk 'match($0, /^    [^ ]+    REG_[A-Z_]+    /) {
            line = substr($0, 5); name = line; sub(/ .*/, "", name)
            data = substr($0, RLENGTH + 1); printf "%s\t%s\n", name, data }
         match($0, /^    [^ ]+    REG_[A-Z_]+$/) { line = substr($0, 5); sub(/ .*/, "", line); printf "%s\t\n", line }' \
        <<<"$out"
}

# reg_field LINES NAME: the data of one value in reg_query's answer.
reg_field() { awk -F'\t' -v name="$2" '$1 == name { print $2; exit }' <<<"$1"; }

# wait_until MS COMMAND...: until the command succeeds, checking every 0.2 s (the command's own time aside).
wait_until() {
    local ms=$1 waited=0
    shift
    until "$@"; do
        [ "$waited" -ge "$ms" ] && return 1
        sleep 0.2
        waited=$((waited + 200))
    done
}
path_gone() { [ ! -e "$1" ]; }
key_gone() { ! reg_query "$1" >/dev/null; }
