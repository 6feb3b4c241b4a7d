#include "runtime/bmp.h"

#include <algorithm>
#include <cstdint>

#include "runtime/little_endian.h"

namespace rt {

namespace {

using le::u16;
using le::u32;

void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void put16(std::vector<unsigned char>& out, std::uint16_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

[[noreturn]] void fail(const char* why) { throw FormatError(why); }

}  // namespace

const std::vector<Pixel>& standardPalette16() {
    static const std::vector<Pixel> palette = {
        rgb(0, 0, 0),     rgb(128, 0, 0),     rgb(0, 128, 0),     rgb(128, 128, 0),  rgb(0, 0, 128), rgb(128, 0, 128),
        rgb(0, 128, 128), rgb(192, 192, 192), rgb(128, 128, 128), rgb(255, 0, 0),    rgb(0, 255, 0), rgb(255, 255, 0),
        rgb(0, 0, 255),   rgb(255, 0, 255),   rgb(0, 255, 255),   rgb(255, 255, 255)};
    return palette;
}

Surface decodeBmp(std::span<const unsigned char> b, BmpInfo* info) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') fail("not a bitmap file");
    const std::uint32_t dataOffset = u32(b, 10);
    const std::uint32_t headerSize = u32(b, 14);
    if (headerSize < 40 || 14 + static_cast<std::size_t>(headerSize) > b.size()) fail("bad header");
    const auto width = static_cast<std::int32_t>(u32(b, 18));
    const auto rawHeight = static_cast<std::int32_t>(u32(b, 22));
    const int bpp = u16(b, 28);
    const std::uint32_t compression = u32(b, 30);
    std::uint32_t colours = u32(b, 46);
    if (compression != 0) fail("compressed bitmaps are not supported");
    if (width <= 0 || rawHeight == 0 || width > 16384 || rawHeight > 16384 || rawHeight < -16384) fail("bad size");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) fail("unsupported depth");
    const bool bottomUp = rawHeight > 0;
    const int height = bottomUp ? rawHeight : -rawHeight;

    std::vector<Pixel> palette;
    if (bpp <= 8) {
        if (colours == 0) colours = 1u << bpp;
        if (colours > (1u << bpp)) fail("bad palette size");
        const std::size_t at = 14 + headerSize;
        if (at + 4 * static_cast<std::size_t>(colours) > b.size()) fail("truncated palette");
        for (std::uint32_t i = 0; i < colours; ++i)
            palette.push_back(rgb(b[at + 4 * i + 2], b[at + 4 * i + 1], b[at + 4 * i]));
    }
    const std::size_t stride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    if (dataOffset > b.size() || stride * static_cast<std::size_t>(height) > b.size() - dataOffset)
        fail("truncated pixel data");

    Surface image(width, height);
    for (int row = 0; row < height; ++row) {
        const std::size_t line = dataOffset + stride * static_cast<std::size_t>(bottomUp ? height - 1 - row : row);
        for (int x = 0; x < width; ++x) {
            Pixel p = 0;
            if (bpp <= 8) {
                const std::size_t bit = static_cast<std::size_t>(x) * bpp;
                const unsigned byte = b[line + bit / 8];
                const unsigned index = (byte >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
                if (index >= palette.size()) fail("colour index outside the palette");
                p = palette[index];
            } else {
                const std::size_t at = line + static_cast<std::size_t>(x) * (bpp / 8);
                p = rgb(b[at + 2], b[at + 1], b[at]);
            }
            image.at(x, row) = p;
        }
    }
    if (info != nullptr) {
        info->bitsPerPixel = bpp;
        info->palette = palette;
    }
    return image;
}

std::vector<unsigned char> encodeBmp4(const Surface& image, const std::vector<Pixel>& palette) {
    if (palette.empty() || palette.size() > 16) throw FormatError("a 16-colour palette is needed");
    const std::size_t stride = ((static_cast<std::size_t>(image.width) * 4 + 31) / 32) * 4;
    const std::uint32_t dataOffset = 14 + 40 + 16 * 4;
    const auto dataSize = static_cast<std::uint32_t>(stride * image.height);
    std::vector<unsigned char> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, dataOffset + dataSize);
    put32(out, 0);
    put32(out, dataOffset);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(image.width));
    put32(out, static_cast<std::uint32_t>(image.height));
    put16(out, 1);
    put16(out, 4);
    put32(out, 0);
    put32(out, dataSize);
    put32(out, 3780);  // 96 dots per inch
    put32(out, 3780);
    put32(out, 16);
    put32(out, 0);
    for (std::size_t i = 0; i < 16; ++i) {
        const Pixel p = i < palette.size() ? palette[i] : 0;
        out.push_back(static_cast<unsigned char>(p));
        out.push_back(static_cast<unsigned char>(p >> 8));
        out.push_back(static_cast<unsigned char>(p >> 16));
        out.push_back(0);
    }
    for (int row = image.height - 1; row >= 0; --row) {
        std::vector<unsigned char> line(stride, 0);
        for (int x = 0; x < image.width; ++x) {
            const auto it = std::find(palette.begin(), palette.end(), image.at(x, row));
            if (it == palette.end()) throw FormatError("a pixel outside the palette");
            const auto index = static_cast<unsigned char>(it - palette.begin());
            line[static_cast<std::size_t>(x) / 2] |= static_cast<unsigned char>(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

}  // namespace rt
