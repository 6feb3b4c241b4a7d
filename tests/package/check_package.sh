#!/usr/bin/env bash
# The Debian package as a user gets it: its files, its menu entry and metadata as the desktop's own
# validators read them, lintian's verdict (pedantic and informational tags included), the packaged
# executable's hardening, and the executable, unpacked into a scratch folder, started the way the menu
# entry names it and answering --version.
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
./usr/share/icons/hicolor/48x48/apps/quorvex.png
./usr/share/icons/hicolor/64x64/apps/quorvex.png
./usr/share/icons/hicolor/scalable/apps/quorvex.svg
./usr/share/man/man6/quorvex.6.gz
./usr/share/metainfo/org.quorvex.quorvex.metainfo.xml
LIST
)"
[ "$files" = "$expected" ] || fail "the package holds other files than expected:
$(diff <(echo "$expected") <(echo "$files") || true)"

dpkg-deb -x "$deb" "$scratch"
desktop="$scratch/usr/share/applications/quorvex.desktop"
metainfo="$scratch/usr/share/metainfo/org.quorvex.quorvex.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "the menu entry's categories"
grep -qE '^Keywords=([^;]+;)+$' "$desktop" || fail "the menu entry has no search keywords"
appstreamcli validate --pedantic --no-net "$metainfo" || fail "appstreamcli validate"
appstreamcli validate-tree --pedantic --no-net "$scratch" || fail "appstreamcli validate-tree"
id="$(sed -n 's|.*<id>\(.*\)</id>.*|\1|p' "$metainfo")"
[ "$id" = "${id,,}" ] && [ "$id" = org.quorvex.quorvex ] || fail "the AppStream id $id is not org.quorvex.quorvex"
for size in 16 32 48 64 128 256; do
  file "$scratch/usr/share/icons/hicolor/${size}x${size}/apps/quorvex.png" | grep -q "$size x $size" ||
    fail "the ${size}x${size} icon is not $size x $size"
done
svg="$scratch/usr/share/icons/hicolor/scalable/apps/quorvex.svg"
file "$svg" | grep -q 'SVG' || fail "the scalable icon is not an SVG"
grep -q 'viewBox="0 0 32 32"' "$svg" && grep -q 'shape-rendering="crispEdges"' "$svg" ||
  fail "the scalable icon is not the 32 x 32 art drawn with crisp edges"
zcat "$scratch/usr/share/man/man6/quorvex.6.gz" | grep -q 'B \\-\\-version' || fail "the manual page does not describe the command line"

# The menu entry starts the program even where the session's PATH lacks /usr/games: Exec names a
# file that, looked up as a launcher would with PATH=/usr/bin:/bin, is the packaged executable.
exec_line="$(sed -n 's/^Exec=//p' "$desktop")"
command="${exec_line%% *}"
if [[ "$command" == /* ]]; then
  resolved="$command"
else
  resolved=""
  for dir in /usr/bin /bin; do [ -x "$scratch$dir/$command" ] && { resolved="$dir/$command"; break; }; done
fi
[ -n "$resolved" ] && [ -f "$scratch$resolved" ] && [ -x "$scratch$resolved" ] ||
  fail "Exec=$exec_line names no executable of the package with PATH=/usr/bin:/bin"
[ "$(env PATH=/usr/bin:/bin "$scratch$resolved" --version)" = "Quorvex 1.00" ] ||
  fail "the packaged executable does not answer --version"

# Debian's usual hardening: position-independent, relocations read-only and bound at start-up, the
# stack protector and fortified libc calls.
program="$scratch/usr/games/quorvex"
readelf -h "$program" | grep -q 'Type: *DYN' && readelf -d "$program" | grep -q 'FLAGS_1.*PIE' ||
  fail "the executable is not position-independent"
readelf -lW "$program" | grep -q GNU_RELRO || fail "the executable has no read-only relocations (relro)"
readelf -d "$program" | grep -qE 'BIND_NOW|FLAGS_1.*NOW' || fail "the executable does not bind at start-up (bindnow)"
symbols="$(readelf -W --dyn-syms "$program")"
grep -q '__stack_chk_fail' <<<"$symbols" || fail "the executable is built without the stack protector"
grep -qE '__[a-z_]+_chk@' <<<"$symbols" || fail "the executable calls no fortified libc function (fortify)"

# Not one tag, pedantic and informational included: a tag that must stay has its override, with its
# reason, in usr/share/lintian/overrides/quorvex.
tags="$(lintian --pedantic -I "$deb" 2>&1 | grep -v 'running with root privileges' || true)"
[ -z "$tags" ] || fail "lintian reports:
$tags"
echo "PASS: the Debian package $(basename "$deb")"
