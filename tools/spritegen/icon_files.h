// File formats for the icon: a Windows .ico with 16-colour images, and an RGBA PNG.
#pragma once

#include <vector>

#include "icon_art.h"

namespace spritegen {

// One .ico holding every image, largest first, each 4 bits per pixel in the standard 16-colour
// palette with its 1-bit transparency (AND) mask.
std::vector<unsigned char> encodeIco(const std::vector<IconImage>& images);

// An 8-bit RGBA PNG of one image (alpha 0 outside the icon), its pixel data in uncompressed
// deflate blocks: the file stays tiny and needs no compression library.
std::vector<unsigned char> encodePng(const IconImage& icon);

}  // namespace spritegen
