// Reading and writing Windows bitmap files (uncompressed 1, 4, 8, 24 and 32 bits per pixel).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "runtime/errors.h"
#include "runtime/surface.h"

namespace rt {

struct BmpInfo {
    int bitsPerPixel = 0;
    std::vector<Pixel> palette;  // empty for 24 and 32 bits per pixel
};

// Decodes a bitmap file. Throws FormatError, saying why, for anything malformed or unsupported.
Surface decodeBmp(std::span<const unsigned char> bytes, BmpInfo* info = nullptr);

// Encodes a 16-colour (4 bits per pixel) bitmap with the given palette. Throws FormatError when the
// palette has more than 16 colours or a pixel of the image is not one of them.
std::vector<unsigned char> encodeBmp4(const Surface& image, const std::vector<Pixel>& palette);

// The standard 16-colour palette, in its usual index order.
const std::vector<Pixel>& standardPalette16();

}  // namespace rt
