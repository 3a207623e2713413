#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Unpacks the Debian package into a temporary root (dpkg -x, no installation) and checks
# what a user gets: the programs run from there on the installed sample, the menu entry,
# AppStream data and project file type validate, the thumbnailer's command makes a
# thumbnail of a project and none of a damaged one, both manual pages render without a
# warning, the icons have the sizes their folders say, bash completes varga-map and
# lintian finds no error or warning.
#
# usage: check_package.sh DEB_FOLDER VERSION
set -eu

folder=$1
version=$2
fail() {
  echo "check_package: $*" >&2
  exit 1
}
need() {
  command -v "$1" >/dev/null || fail "$1 is missing: run scripts/install-deps.sh ($2)"
}
need dpkg-deb dpkg
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need man man-db
need update-mime-database shared-mime-info
need lintian lintian

deb=$(ls "$folder"/varga-map-maker_"$version"_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no varga-map-maker_${version}_*.deb in $folder: build it with make package"
echo "package: $deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb --extract "$deb" "$root"
usr=$root/usr
share=$usr/share

# The dependencies come from the programs' libraries, plus the SQLite driver plug-in.
depends=$(dpkg-deb --field "$deb" Depends)
for library in libqt6widgets6 libqt6gui6 libqt6sql6 libqt6core6 libqt6sql6-sqlite; do
  echo "$depends" | grep -q "$library" || fail "Depends lacks $library: $depends"
done

for file in bin/varga-map-maker bin/varga-map \
  share/applications/org.vargamapmaker.VargaMapMaker.desktop \
  share/metainfo/org.vargamapmaker.VargaMapMaker.metainfo.xml \
  share/mime/packages/varga-map-maker.xml share/thumbnailers/varga-map-maker.thumbnailer \
  share/icons/hicolor/scalable/apps/varga-map-maker.svg \
  share/man/man1/varga-map-maker.1.gz share/man/man1/varga-map.1.gz \
  share/bash-completion/completions/varga-map \
  share/varga-map-maker/samples/farmland_1200x840.jpg \
  share/doc/varga-map-maker/copyright share/doc/varga-map-maker/changelog.gz; do
  [ -f "$usr/$file" ] || fail "the package lacks /usr/$file"
done

# The installed tool, with a data folder of its own.
export VARGA_MAP_MAKER_HOME="$root/home"
shown=$("$usr/bin/varga-map" --version)
[ "$shown" = "varga-map $version" ] || fail "varga-map --version says \"$shown\""
sample=$share/varga-map-maker/samples/farmland_1200x840.jpg
report=$("$usr/bin/varga-map" check "$sample") || fail "varga-map check failed on the sample"
echo "$report"
for line in "XQuads: 30" "YQuads: 21" "TotalQuads: 630"; do
  echo "$report" | grep -qx "$line" || fail "varga-map check does not say \"$line\""
done

# The installed editor starts (headless) and creates its catalogue through the SQLite
# plug-in within 20 seconds, and is still running then.
QT_QPA_PLATFORM=offscreen "$usr/bin/varga-map-maker" >"$root/editor.log" 2>&1 &
editor=$!
tenths=0
while [ ! -s "$VARGA_MAP_MAKER_HOME/Ostrel.db" ] && [ "$tenths" -lt 200 ] &&
  kill -0 "$editor" 2>/dev/null; do
  sleep 0.1
  tenths=$((tenths + 1))
done
kill -0 "$editor" 2>/dev/null || { cat "$root/editor.log"; fail "the editor ended by itself"; }
kill "$editor"
wait "$editor" || true
[ -s "$VARGA_MAP_MAKER_HOME/Ostrel.db" ] || fail "the editor did not create its catalogue"

desktop-file-validate "$share/applications/org.vargamapmaker.VargaMapMaker.desktop"
grep -qx "GenericName=Map Editor" "$share/applications/org.vargamapmaker.VargaMapMaker.desktop" ||
  fail "the menu entry's generic name is not Map Editor"
appstreamcli validate --no-net "$share/metainfo/org.vargamapmaker.VargaMapMaker.metainfo.xml"

# The licence, named the same way in the package's copyright file and the AppStream data.
grep -q '^License: GPL-3.0+$' "$share/doc/varga-map-maker/copyright" ||
  fail "the copyright file does not name GPL-3.0+"
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
  "$share/metainfo/org.vargamapmaker.VargaMapMaker.metainfo.xml" ||
  fail "the AppStream data does not name GPL-3.0-or-later"

# The project file type: the shared MIME database built from the package's file knows it.
cp -r "$share/mime" "$root/mime"
update-mime-database "$root/mime" >"$root/mime.log" 2>&1 ||
  { cat "$root/mime.log"; fail "update-mime-database refused the project file type"; }
grep -q "application/x-varga-map-project" "$root/mime/globs2" ||
  fail "the MIME database does not know *.vmap"
grep -q "x-varga-map-project:\*\.vmap" "$root/mime/globs2" || fail "*.vmap is not the project's"

# The thumbnailer: its Exec line run as a file manager runs it (%i the project, %o the
# PNG to write, %s the size), with the installed tool first on the PATH.
thumbnailer=$share/thumbnailers/varga-map-maker.thumbnailer
grep -qx "MimeType=application/x-varga-map-project;" "$thumbnailer" ||
  fail "the thumbnailer is not for map projects"
exec_line=$(sed -n 's/^Exec=//p' "$thumbnailer")
for code in %i %o %s; do
  case $exec_line in *"$code"*) ;; *) fail "the thumbnailer's Exec lacks $code" ;; esac
done
thumbnail() { # PROJECT OUT SIZE
  command=$(echo "$exec_line" | sed "s|%i|$1|; s|%o|$2|; s|%s|$3|")
  PATH="$usr/bin:$PATH" sh -c "$command" 2>"$root/thumbnail.log"
}
# A map of one Quad row: element 1 and height 1 in each Sector.
{
  printf '10\r\n \r\n30 X Max \r\n21 Y Max \r\n0\r\n0\r\nId\r\n&\r\n'
  quad=0
  while [ "$quad" -lt 30 ]; do
    printf '%d' "$quad"
    printf '\t1%.0s' $(seq 32)
    printf '\t\r\n'
    quad=$((quad + 1))
  done
  printf '#\r\n'
} >"$root/map.txt"
"$usr/bin/varga-map" pack "$sample" "$root/map.txt" -o "$root/sample.vmap" ||
  fail "varga-map pack failed on the sample"
thumbnail "$root/sample.vmap" "$root/thumb.png" 128 ||
  { cat "$root/thumbnail.log"; fail "the thumbnailer made no thumbnail of the sample"; }
dims=$(od -An -tu1 -j16 -N8 "$root/thumb.png" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}')
[ "$dims" = "128x89" ] || fail "the sample's 128-pixel thumbnail is $dims"
head -c 3000 "$root/sample.vmap" >"$root/damaged.vmap"
if thumbnail "$root/damaged.vmap" "$root/damaged.png" 128; then
  fail "the thumbnailer accepted a damaged project"
fi
[ ! -e "$root/damaged.png" ] || fail "the thumbnailer wrote a picture of a damaged project"

for page in varga-map-maker varga-map; do
  warnings=$(MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1.gz" 2>&1 >"$root/$page.txt")
  [ -z "$warnings" ] || fail "man $page warns: $warnings"
  grep -q "VARGA_MAP_MAKER_HOME" "$root/$page.txt" || fail "man $page lacks the environment"
  grep -q "EXIT STATUS" "$root/$page.txt" || fail "man $page lacks the exit status"
done
for command in render convert check edit; do
  grep -q "^       $command" "$root/varga-map.txt" || fail "man varga-map lacks $command"
done

# PNG width and height are the big-endian words at bytes 16 and 20.
for size in 16 22 24 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/varga-map-maker.png
  [ -f "$png" ] || fail "no ${size}x${size} icon"
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}')
  [ "$dims" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $dims"
done

# Bash completion offers the commands, then the options and the fixed values.
completed=$(bash -c '
  . "$1"
  complete_words() {
    COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMPREPLY=()
    _varga_map
    echo "${COMPREPLY[*]}"
  }
  complete_words varga-map c
  complete_words varga-map render --view ""
  complete_words varga-map convert --t
' sh "$share/bash-completion/completions/varga-map")
expected=$(printf '%s\n' "convert check" "terrain elevation" "--to")
[ "$completed" = "$expected" ] || fail "bash completion gave: $completed"

# Debian's own package checks: errors and warnings fail, informational tags do not.
lintian --fail-on error,warning "$deb" || fail "lintian found errors or warnings"

echo "check_package: all checks passed"
