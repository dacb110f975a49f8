#!/usr/bin/env bash
# Compiles one language of the help into a .chm with chmcmd (Debian package fp-utils).
#
#   build_chm.sh <source-dir> <topics.map> <stage-dir> <output.chm> <title> <language-id> <charset>
#
# The pages, the table of contents and the project are staged in <stage-dir>; the project's title and the
# table of contents are converted to <charset> (the code page the help viewer reads them in for <language-id>).
#
# chmcmd 3.2.2 writes each context number's page as the absolute path of the staged file ("/build/.../x.htm")
# instead of "x.htm", and the viewer then looks for that name inside the file. The stage therefore holds a
# mirror of itself under that path (a symbolic link), and every page is compiled in both places: the contents
# and the default topic use the short names, the context map the long ones, and both open the same page.
set -euo pipefail

src=$1 map=$2 stage=$3 out=$4 title=$5 lcid=$6 charset=$7
command -v chmcmd >/dev/null || { echo "build_chm: chmcmd is missing (apt-get install fp-utils)" >&2; exit 1; }

rm -rf "$stage"
mkdir -p "$stage"
stage=$(cd "$stage" && pwd -P)
cp "$src"/*.htm "$src"/*.css "$stage"/
iconv -f UTF-8 -t "$charset" "$src/toc.hhc" >"$stage/toc.hhc"

# The mirror: <stage>/<stage without its leading slash> leads back to <stage>.
rel=${stage#/}
depth=$(awk -F/ '{ print NF }' <<<"$rel")
back=.
for ((i = 1; i < depth; i++)); do back="$back/.."; done
mkdir -p "$stage/$(dirname "$rel")"
ln -s "$back" "$stage/$rel"
[ -f "$stage/$rel/toc.hhc" ] || { echo "build_chm: the mirror of $stage does not lead back to it" >&2; exit 1; }

pages=$(cd "$stage" && ls *.htm *.css)
{
    echo "[OPTIONS]"
    echo "Compatibility=1.1 or later"
    echo "Compiled file=$(basename "$out")"
    echo "Contents file=toc.hhc"
    echo "Default topic=index.htm"
    echo "Display compile progress=No"
    echo "Language=$lcid"
    echo "Title=$title"
    echo
    echo "[FILES]"
    for page in $pages; do echo "$page"; done
    for page in $pages; do echo "$rel/$page"; done
    echo
    echo "[ALIAS]"
    grep -v '^#' "$map" | while read -r number page; do
        [ -n "$number" ] || continue
        [ -f "$stage/$page" ] || { echo "build_chm: topic $number names $page, which $src does not have" >&2; exit 1; }
        echo "IDH_$number=$page"
    done
    echo
    echo "[MAP]"
    grep -v '^#' "$map" | while read -r number page; do
        [ -n "$number" ] && echo "#define IDH_$number $number"
    done
} | iconv -f UTF-8 -t "$charset" >"$stage/help.hhp"

(cd "$stage" && chmcmd --no-html-scan help.hhp >chmcmd.log 2>&1) || { cat "$stage/chmcmd.log" >&2; exit 1; }
if grep -qi 'error' "$stage/chmcmd.log"; then
    cat "$stage/chmcmd.log" >&2
    exit 1
fi
cp "$stage/$(basename "$out")" "$out"
