// Reading one image out of a Windows icon (.ico) file: the palette-based entries (1, 4 or 8 bits
// per pixel) with their 1-bit transparency mask, which is what the program icon holds.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "runtime/errors.h"
#include "runtime/surface.h"

namespace rt {

struct IconImage {
    Surface image;             // the colours, 0x00RRGGBB
    std::vector<bool> opaque;  // row-major; false where the mask makes the pixel transparent

    // The pixels as 0xAARRGGBB, alpha 255 where opaque and 0 (all bits clear) elsewhere.
    std::vector<std::uint32_t> argb() const;
};

// The entry of `ico` that is `size` x `size` pixels. Throws FormatError, saying why, when there is
// none or the file is malformed.
IconImage decodeIcoImage(std::span<const unsigned char> ico, int size);

}  // namespace rt
