#!/usr/bin/env bash
# The Debian package as a user gets it: built with CPack, unpacked into a temporary root as
# dpkg would install it, its menu entry and metadata validated, and the installed program
# started to its window and closed.
#   package-test.sh BUILD_DIR VERSION REAL_WINDOW_TEST
set -euo pipefail
build_dir=$1 version=$2 real_window_test=$3

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
deb="$build_dir/tarnwell_${version}-1_amd64.deb"
fail() { echo "FAIL: $*"; exit 1; }
# Packed twice from one build, as scripts/package packs it: the same bytes both times. Whether
# two clones at two paths build the same program is `bash scripts/package --twice`'s to check:
# it builds the program twice from nothing, too long for every run of the tests.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$(dirname "$0")" log -1 --format=%ct 2>/dev/null || echo 1765152000)}
export SOURCE_DATE_EPOCH
sums=()
for build in 1 2; do
  rm -f "$deb"
  (cd "$build_dir" && cpack -G DEB >"$root.cpack.log" 2>&1) || { cat "$root.cpack.log"; exit 1; }
  test -f "$deb" || { echo "no package $deb"; exit 1; }
  sums+=("$(sha256sum <"$deb")")
done
rm -f "$root.cpack.log"
[ "${sums[0]}" = "${sums[1]}" ] || fail "two builds of the package differ"
dpkg-deb -f "$deb" Depends | grep -q qt6-qpa-plugins && fail "the package depends on qt6-qpa-plugins"
dpkg-deb -f "$deb" Recommends | grep -qw qt6-wayland || fail "qt6-wayland is not recommended"
readelf -S "$build_dir/app/tarnwell" | grep -q '\.comment' && fail "the program keeps its .comment section"
plain=$(mktemp -d)
cmake --install "$build_dir" --prefix "$plain" >/dev/null
find "$plain" -path '*lintian*' -o -name 'changelog.Debian*' | grep -q . &&
  fail "cmake --install puts Debian-only files in a plain prefix"
rm -rf "$plain"
dpkg-deb -f "$deb" Recommends | grep -qw libreoffice-calc || fail "libreoffice-calc is not recommended"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "no dependency found on Qt Widgets"
dpkg-deb -f "$deb" Version | grep -qx "$version-1" || fail "package version is not $version-1"
# What a Debian packager checks: no error or warning that has no override with its reason.
lintian --fail-on error,warning "$deb" ||
  fail "lintian finds errors or warnings in the package"

dpkg -x "$deb" "$root"
usr="$root/usr"
test -x "$usr/bin/tarnwell" || fail "no usr/bin/tarnwell"
for doc in copyright changelog.Debian.gz NEWS.gz; do
  test -f "$usr/share/doc/tarnwell/$doc" || fail "no usr/share/doc/tarnwell/$doc"
done
test -f "$usr/share/man/man1/tarnwell.1.gz" || fail "no manual page"
# German and French: the menu entry, the metadata's summary, the manual page's summary.
for language in de fr; do
  test -f "$usr/share/man/$language/man1/tarnwell.1.gz" || fail "no $language manual page"
  grep -q "^Comment\[$language\]=" "$usr/share/applications/io.github.tarnwell.Tarnwell.desktop" ||
    fail "the menu entry has no $language comment"
  grep -q "<summary xml:lang=\"$language\">" \
    "$usr/share/metainfo/io.github.tarnwell.Tarnwell.metainfo.xml" || fail "no $language summary"
done
for size in 16 22 24 32 48 64 128 256; do
  icon="$usr/share/icons/hicolor/${size}x${size}/apps/tarnwell.png"
  test -f "$icon" || fail "no ${size}px icon"
  [ "$(identify -format '%wx%h %[fx:p{0,0}.a]' "$icon")" = "${size}x${size} 0" ] ||
    fail "the ${size}px icon is not ${size}px or its corners are not transparent"
done
test -f "$usr/share/icons/hicolor/scalable/apps/tarnwell.svg" || fail "no scalable icon"
desktop-file-validate "$usr/share/applications/io.github.tarnwell.Tarnwell.desktop"
grep -qx 'StartupWMClass=Tarnwell' "$usr/share/applications/io.github.tarnwell.Tarnwell.desktop" ||
  fail "the menu entry does not name the window's class"
# Offered for every text file, the default for none that another program opens: beside the
# text editor and the spreadsheet program that scripts/install-deps puts in /usr/share, as the
# package's triggers leave the desktop and MIME databases once it is installed.
update-desktop-database "$usr/share/applications"
XDG_DATA_DIRS="$usr/share" update-mime-database "$usr/share/mime"
gio_mime() {
  env -i PATH="$usr/bin:/usr/bin:/bin" HOME="$root/home" XDG_DATA_DIRS="$usr/share:/usr/share" \
    XDG_DATA_HOME="$root/home/data" XDG_CONFIG_HOME="$root/home/config" \
    XDG_CONFIG_DIRS="$root/home/config" gio mime "$1"
}
for type_and_owner in text/plain:vim text/x-python:vim text/csv:libreoffice-calc; do
  type=${type_and_owner%%:*} owner=${type_and_owner#*:}
  answer=$(gio_mime "$type")
  grep -qx "Default application for .$type.: $owner.desktop" <<<"$answer" ||
    fail "$owner is not the default for $type: $answer"
  grep -qx $'\tio.github.tarnwell.Tarnwell.desktop' <<<"$answer" || fail "Tarnwell is not offered for $type"
done
mailcap="$usr/lib/mime/packages/io.github.tarnwell.Tarnwell"
for type in text/plain text/csv; do
  grep "^$type;" "$mailcap" | grep -q 'priority=2$' || fail "mailcap does not rank $type below default"
done
appstreamcli validate --no-net "$usr/share/metainfo/io.github.tarnwell.Tarnwell.metainfo.xml"
grep -q "version=\"$version\"" "$usr/share/metainfo/io.github.tarnwell.Tarnwell.metainfo.xml" ||
  fail "metadata does not name version $version"

[ "$("$usr/bin/tarnwell" --version)" = "Tarnwell $version" ] || fail "--version does not say $version"
TARNWELL_UNDER_TEST="$usr/bin/tarnwell" "$real_window_test"
