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
rm -f "$deb"
(cd "$build_dir" && cpack -G DEB >"$root.cpack.log" 2>&1) || { cat "$root.cpack.log"; exit 1; }
rm -f "$root.cpack.log"
test -f "$deb" || { echo "no package $deb"; exit 1; }

fail() { echo "FAIL: $*"; exit 1; }
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
for size in 16 22 24 32 48 64 128 256; do
  icon="$usr/share/icons/hicolor/${size}x${size}/apps/tarnwell.png"
  test -f "$icon" || fail "no ${size}px icon"
  [ "$(identify -format '%wx%h %[fx:p{0,0}.a]' "$icon")" = "${size}x${size} 0" ] ||
    fail "the ${size}px icon is not ${size}px or its corners are not transparent"
done
test -f "$usr/share/icons/hicolor/scalable/apps/tarnwell.svg" || fail "no scalable icon"
desktop-file-validate "$usr/share/applications/example.tarnwell.Tarnwell.desktop"
grep -qx 'StartupWMClass=Tarnwell' "$usr/share/applications/example.tarnwell.Tarnwell.desktop" ||
  fail "the menu entry does not name the window's class"
appstreamcli validate --no-net "$usr/share/metainfo/example.tarnwell.Tarnwell.metainfo.xml"
grep -q "version=\"$version\"" "$usr/share/metainfo/example.tarnwell.Tarnwell.metainfo.xml" ||
  fail "metadata does not name version $version"

[ "$("$usr/bin/tarnwell" --version)" = "Tarnwell $version" ] || fail "--version does not say $version"
TARNWELL_UNDER_TEST="$usr/bin/tarnwell" "$real_window_test"
