#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks what a user installing it gets:
# the declared dependencies, the files and where they go, and that the installed programs
# find their shipped data beside them and keep the user's files in the XDG folders.
#   check.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
package=$(ls "$work"/out/tarnwick_*.deb)

# Dependencies: the libraries read off the programs, and what Qt loads at run time.
depends=$(dpkg-deb -f "$package" Depends)
for needed in libqt6widgets6 libqt6svg6 libqt6gui6 libqt6core6 libstdc++6 libc6 \
  qt6-qpa-plugins fonts-dejavu-core; do
  [[ ", $depends," == *", $needed "* || ", $depends," == *", $needed,"* ]] ||
    fail "Depends lacks $needed: $depends"
done
[ "$(dpkg-deb -f "$package" Package)" = tarnwick ] || fail "package name"

# Contents: both programs, the shipped data, the desktop entry with its icon and metadata.
dpkg-deb -c "$package" | awk '{print $6}' | sed 's#^\./#/#' >"$work/files"
for file in /usr/bin/tarnwick /usr/bin/tarnwick-cli /usr/share/tarnwick/Tarnwick.dat \
  /usr/share/tarnwick/Langs/ENG.ini /usr/share/tarnwick/Langs/DEU.ini \
  /usr/share/tarnwick/Langs/RUS.ini /usr/share/tarnwick/Help/Tarnwick_eng/index.htm \
  /usr/share/tarnwick/Help/Tarnwick_rus/index.htm \
  /usr/share/applications/io.github.tarnwick.tarnwick.desktop \
  /usr/share/metainfo/io.github.tarnwick.tarnwick.metainfo.xml \
  /usr/share/icons/hicolor/scalable/apps/io.github.tarnwick.tarnwick.svg \
  /usr/share/doc/tarnwick/copyright; do
  grep -q -x "$file" "$work/files" || fail "the package lacks $file"
done
if grep -v -E '^/usr/(bin|share)/' "$work/files" | grep -v -E '^/(usr/?)?$'; then
  fail "files outside /usr/bin and /usr/share"
fi

# Installed: unpacked where a user's /usr would be, the programs find the shipped tables in
# ../share/tarnwick and write only into the user's XDG folders.
dpkg-deb -x "$package" "$work/root"
# The metadata and the desktop entry as software centres and menus read them.
appstreamcli validate --no-net --pedantic \
  "$work/root/usr/share/metainfo/io.github.tarnwick.tarnwick.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
desktop-file-validate "$work/root/usr/share/applications/io.github.tarnwick.tarnwick.desktop" ||
  fail "desktop-file-validate"
home="$work/home"
mkdir -p "$home"
cli() { env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" "$work/root/usr/bin/tarnwick-cli" "$@"; }
tables=$(cli tables --game 0) || fail "tarnwick-cli tables"
grep -q "pays 800,50,25,9,6,4,3,2,1" <<<"$tables" || fail "the shipped 9/6 table is not listed"
cli add --game 0 --pays 4000,50,25,9,6,4,3,2,1 >"$work/add.log" 2>&1 ||
  { cat "$work/add.log" >&2; fail "tarnwick-cli add"; }
[ -f "$home/.local/share/tarnwick/Tarnwick.dat" ] || fail "the user's data file is not in ~/.local/share/tarnwick"
cli tables --game 0 | grep -q "pays 4000,50,25,9,6,4,3,2,1" || fail "the added table is not listed"
cmp -s "$work/root/usr/share/tarnwick/Tarnwick.dat" "$(dirname "$0")/../../data/Tarnwick.dat" ||
  fail "the shipped data file changed"
echo "package: $(basename "$package"), $(wc -l <"$work/files") entries, Depends: $depends"
