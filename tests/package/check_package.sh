#!/usr/bin/env bash
# The Debian package as a user gets it: its files, its menu entry and metadata as the desktop's own
# validators read them, lintian's verdict, and the packaged executable, unpacked into a scratch folder,
# answering --version.
#   check_package.sh quorvex_<version>_<arch>.deb
set -euo pipefail
deb="${1:?usage: check_package.sh PACKAGE.deb}"
fail() { echo "FAIL: $*"; exit 1; }
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the section is not games"
depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libc6; do
  grep -q "$lib" <<<"$depends" || fail "the dependencies, computed from the shared libraries, lack $lib: $depends"
done

files="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)"
expected="$(sort <<'LIST'
./usr/games/quorvex
./usr/share/applications/quorvex.desktop
./usr/share/doc/quorvex/changelog.gz
./usr/share/doc/quorvex/copyright
./usr/share/icons/hicolor/128x128/apps/quorvex.png
./usr/share/icons/hicolor/16x16/apps/quorvex.png
./usr/share/icons/hicolor/256x256/apps/quorvex.png
./usr/share/icons/hicolor/32x32/apps/quorvex.png
./usr/share/icons/hicolor/64x64/apps/quorvex.png
./usr/share/man/man6/quorvex.6.gz
./usr/share/metainfo/org.quorvex.Quorvex.metainfo.xml
LIST
)"
[ "$files" = "$expected" ] || fail "the package holds other files than expected:
$(diff <(echo "$expected") <(echo "$files") || true)"

dpkg-deb -x "$deb" "$scratch"
desktop-file-validate "$scratch/usr/share/applications/quorvex.desktop" || fail "desktop-file-validate"
grep -qx 'Categories=Game;ArcadeGame;' "$scratch/usr/share/applications/quorvex.desktop" || fail "the menu entry's categories"
appstreamcli validate --no-net "$scratch/usr/share/metainfo/org.quorvex.Quorvex.metainfo.xml" || fail "appstreamcli validate"
for size in 16 32 64 128 256; do
  file "$scratch/usr/share/icons/hicolor/${size}x${size}/apps/quorvex.png" | grep -q "$size x $size" ||
    fail "the ${size}x${size} icon is not $size x $size"
done
zcat "$scratch/usr/share/man/man6/quorvex.6.gz" | grep -q 'B \\-\\-version' || fail "the manual page does not describe the command line"
[ "$("$scratch/usr/games/quorvex" --version)" = "Quorvex 1.00" ] || fail "the packaged executable does not answer --version"
lintian --fail-on error "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || fail "lintian reports errors"
echo "PASS: the Debian package $(basename "$deb")"
