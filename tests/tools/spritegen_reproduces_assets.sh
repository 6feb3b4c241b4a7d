#!/usr/bin/env bash
# The sprite generator still draws exactly the committed sprites and icons, and the committed desktop
# PNGs show the .ico's images.
#   spritegen_reproduces_assets.sh SPRITEGEN ASSETS_DIR [FONT]
#
# What keeps this sound across updates of the system's packages:
# - The lettering ("Lives:", "Continue", the banner) is stamped from ink committed as text under
#   tools/spritegen/lettering, not rendered from the installed font: a new release of the font cannot
#   change what the generator draws, and rendering the ink anew (spritegen --font) is a change of the
#   art, seen in review as a diff of that text and of the sprites.
# - Sprites, the .ico and the SVG are written by the generator's own code, so they are compared byte
#   for byte: any one pixel that differs fails.
# - The PNGs' pixels are deflated by zlib, whose output bytes may differ between its releases, so they
#   are compared decoded: size, depth, channels and every pixel, transparency included.
# - With FONT, rendering the lettering anew still works: it fills each committed ink's box (its
#   pixels may differ with the font's release, so they are not compared).
set -euo pipefail
spritegen="${1:?usage: spritegen_reproduces_assets.sh SPRITEGEN ASSETS_DIR}"
assets="${2:?usage: spritegen_reproduces_assets.sh SPRITEGEN ASSETS_DIR}"
fail() { echo "FAIL: $*"; exit 1; }
fresh="$(mktemp -d)"
trap 'rm -rf "$fresh"' EXIT
"$spritegen" --out "$fresh" >/dev/null

listing() { (cd "$1" && find sprites icons quorvex.ico quorvex.png -type f | sort); }
[ "$(listing "$assets")" = "$(listing "$fresh")" ] || fail "the generator writes other files than are committed:
$(diff <(listing "$assets") <(listing "$fresh") || true)"

# Differing pixels between two images; fails when ImageMagick cannot read one or their sizes differ.
differing() { compare -metric AE "$1" "$2" null: 2>&1 || [ $? -eq 1 ]; }
form() { identify -format '%wx%h %z-bit %[channels]' "$1"; }
for f in $(listing "$assets"); do
  case "$f" in
    *.png)
      [ "$(form "$assets/$f")" = "$(form "$fresh/$f")" ] || fail "$f is $(form "$assets/$f"), drawn $(form "$fresh/$f")"
      [ "$(differing "$assets/$f" "$fresh/$f")" = 0 ] || fail "$f differs in $(differing "$assets/$f" "$fresh/$f") pixels"
      ;;
    *) cmp "$assets/$f" "$fresh/$f" || fail "$f is not what the generator draws" ;;
  esac
done

# The desktop icons are the .ico's images: 16 and 32 as they are, 64 to 256 the 32 enlarged.
[ "$(differing "$assets/icons/quorvex-16.png" "$assets/quorvex.ico[1]")" = 0 ] || fail "the 16 x 16 PNG is not the .ico's"
[ "$(differing "$assets/quorvex.png" "$assets/quorvex.ico[0]")" = 0 ] || fail "quorvex.png is not the .ico's 32 x 32"
for size in 64 128 256; do
  convert "$assets/quorvex.ico[0]" -sample "${size}x${size}" "PNG32:$fresh/ico-$size.png"
  [ "$(differing "$assets/icons/quorvex-$size.png" "$fresh/ico-$size.png")" = 0 ] ||
    fail "the $size x $size PNG is not the .ico's 32 x 32 enlarged"
done

font="${3:-}"
if [ -n "$font" ]; then
  "$spritegen" --out "$fresh/from-font" --lettering "$fresh/ink" --font "$font" >/dev/null ||
    fail "the generator cannot render the lettering from $font"
  size() { echo "$(head -n 1 "$1" | tr -d '\n' | wc -c) x $(wc -l <"$1")"; }
  lettering="$(cd "$(dirname "$0")/../.." && pwd)/tools/spritegen/lettering"
  for ink in "$lettering"/*.txt; do
    rendered="$fresh/ink/$(basename "$ink")"
    [ -s "$rendered" ] && [ "$(size "$rendered")" = "$(size "$ink")" ] ||
      fail "the ink rendered from the font for $(basename "$ink") is not $(size "$ink")"
  done
fi
echo "PASS: the generator draws the committed assets"
