#include "runtime/icon.h"

#include <string>

#include "runtime/little_endian.h"

namespace rt {

namespace {

using le::u16;
using le::u32;

[[noreturn]] void fail(const char* why) { throw FormatError(why); }

// One entry's bitmap: header (its height counts the colour bitmap and the mask), palette, the
// colour bitmap and the AND mask, both stored bottom row first.
IconImage decodeDib(std::span<const unsigned char> dib, int size) {
    if (dib.size() < 40) fail("truncated icon image");
    const std::uint32_t headerSize = u32(dib, 0);
    const auto width = static_cast<std::int32_t>(u32(dib, 4));
    const auto height = static_cast<std::int32_t>(u32(dib, 8));
    const int bpp = u16(dib, 14);
    std::uint32_t colours = u32(dib, 32);
    if (headerSize < 40 || headerSize > dib.size() || width != size || height != 2 * size)
        fail("bad icon image header");
    if (u32(dib, 16) != 0 || (bpp != 1 && bpp != 4 && bpp != 8)) fail("unsupported icon image depth");
    if (colours == 0) colours = 1u << bpp;
    if (colours > (1u << bpp)) fail("bad palette size");

    const std::size_t paletteAt = headerSize;
    const std::size_t colourAt = paletteAt + 4 * static_cast<std::size_t>(colours);
    const std::size_t colourStride = ((static_cast<std::size_t>(size) * bpp + 31) / 32) * 4;
    const std::size_t maskStride = ((static_cast<std::size_t>(size) + 31) / 32) * 4;
    const std::size_t maskAt = colourAt + colourStride * size;
    if (maskAt + maskStride * size > dib.size()) fail("truncated icon image");

    IconImage out{Surface(size, size), std::vector<bool>(static_cast<std::size_t>(size) * size)};
    for (int y = 0; y < size; ++y) {
        const std::size_t line = colourAt + colourStride * static_cast<std::size_t>(size - 1 - y);
        const std::size_t maskLine = maskAt + maskStride * static_cast<std::size_t>(size - 1 - y);
        for (int x = 0; x < size; ++x) {
            const std::size_t bit = static_cast<std::size_t>(x) * bpp;
            const unsigned index = (dib[line + bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
            if (index >= colours) fail("colour index outside the palette");
            const std::size_t p = paletteAt + 4 * index;
            out.image.at(x, y) = rgb(dib[p + 2], dib[p + 1], dib[p]);
            const bool transparent = (dib[maskLine + static_cast<std::size_t>(x) / 8] >> (7 - x % 8)) & 1;
            out.opaque[static_cast<std::size_t>(y) * size + x] = !transparent;
        }
    }
    return out;
}

}  // namespace

std::vector<std::uint32_t> IconImage::argb() const {
    std::vector<std::uint32_t> out(image.pixels.size());
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = opaque[i] ? 0xFF000000u | image.pixels[i] : 0u;
    return out;
}

IconImage decodeIcoImage(std::span<const unsigned char> ico, int size) {
    if (ico.size() < 6 || u16(ico, 0) != 0 || u16(ico, 2) != 1 || size < 1 || size > 256) fail("not an icon file");
    const int count = u16(ico, 4);
    if (ico.size() < 6 + 16 * static_cast<std::size_t>(count)) fail("truncated icon directory");
    for (int i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * static_cast<std::size_t>(i);
        const int width = ico[entry] == 0 ? 256 : ico[entry];
        const int height = ico[entry + 1] == 0 ? 256 : ico[entry + 1];
        if (width != size || height != size) continue;
        const std::uint32_t bytes = u32(ico, entry + 8);
        const std::uint32_t offset = u32(ico, entry + 12);
        if (offset > ico.size() || bytes > ico.size() - offset) fail("truncated icon file");
        return decodeDib(ico.subspan(offset, bytes), size);
    }
    throw FormatError("no " + std::to_string(size) + " x " + std::to_string(size) + " image in the icon");
}

}  // namespace rt
