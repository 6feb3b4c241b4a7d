// Reading and writing Windows bitmap files (uncompressed 1, 4, 8, 24 and 32 bits per pixel).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/surface.h"

namespace rt {

struct BmpInfo {
    int bitsPerPixel = 0;
    std::vector<Pixel> palette;  // empty for 24 and 32 bits per pixel
};

// Decodes a bitmap file; nullopt (with a reason in `error`) for anything malformed or unsupported.
std::optional<Surface> decodeBmp(std::span<const unsigned char> bytes, BmpInfo* info = nullptr,
                                 std::string* error = nullptr);

// Encodes a 16-colour (4 bits per pixel) bitmap with the given palette; every pixel of the image
// must be one of the palette's colours.
std::vector<unsigned char> encodeBmp4(const Surface& image, const std::vector<Pixel>& palette);

// The standard 16-colour palette, in its usual index order.
const std::vector<Pixel>& standardPalette16();

}  // namespace rt
