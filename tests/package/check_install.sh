#!/usr/bin/env bash
# `cmake --install` into a prefix of its own (with a space in it, as a home folder may have): the
# executable, a menu entry that names it by that prefix, the icons and the AppStream metadata.
#   check_install.sh BUILD_DIR
set -euo pipefail
build="${1:?usage: check_install.sh BUILD_DIR}"
fail() { echo "FAIL: $*"; exit 1; }
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/my games"
cmake --install "$build" --prefix "$prefix" >/dev/null

test -x "$prefix/bin/quorvex" || fail "no executable in bin"
desktop="$prefix/share/applications/quorvex.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
# A path with a space is quoted whole in Exec.
grep -qxF "Exec=\"$prefix/bin/quorvex\"" "$desktop" || fail "the menu entry's Exec does not name $prefix/bin/quorvex:
$(grep '^Exec=' "$desktop")"
grep -qx 'Icon=quorvex' "$desktop" || fail "the menu entry's icon"
[ "$(env PATH=/usr/bin:/bin "$prefix/bin/quorvex" --version)" = "Quorvex 1.00" ] ||
  fail "the installed executable does not answer --version"
for size in 16 32 48 64 128 256; do
  test -s "$prefix/share/icons/hicolor/${size}x${size}/apps/quorvex.png" || fail "no ${size}x${size} icon"
done
test -s "$prefix/share/icons/hicolor/scalable/apps/quorvex.svg" || fail "no scalable icon"
test -s "$prefix/share/metainfo/org.quorvex.quorvex.metainfo.xml" || fail "no AppStream metadata"

# Installing again elsewhere writes that prefix into the entry, not the first one.
cmake --install "$build" --prefix "$scratch/other" >/dev/null
grep -qxF "Exec=$scratch/other/bin/quorvex" "$scratch/other/share/applications/quorvex.desktop" ||
  fail "a second install's menu entry does not name its own prefix"
echo "PASS: cmake --install"
