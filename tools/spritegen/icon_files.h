// File formats for the icon: a Windows .ico with 16-colour images, an RGBA PNG and an SVG.
#pragma once

#include <vector>

#include "icon_art.h"

namespace spritegen {

// One .ico holding every image, largest first, each 4 bits per pixel in the standard 16-colour
// palette with its 1-bit transparency (AND) mask.
std::vector<unsigned char> encodeIco(const std::vector<IconImage>& images);

// An 8-bit RGBA PNG of one image (alpha 0 outside the icon), its pixel data deflated by zlib.
std::vector<unsigned char> encodePng(const IconImage& icon);

// A scalable SVG of one image: a square per pixel, runs of one colour in a row merged into one
// rectangle, drawn with crisp edges so that it stays as sharp as the pixels at any size.
std::vector<unsigned char> encodeSvg(const IconImage& icon);

}  // namespace spritegen
