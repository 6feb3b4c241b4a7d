#include "icon_files.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

#include <zlib.h>

#include "runtime/bmp.h"

namespace spritegen {

namespace {

void put8(std::vector<unsigned char>& out, unsigned v) { out.push_back(static_cast<unsigned char>(v)); }
void put16(std::vector<unsigned char>& out, std::uint32_t v) {
    put8(out, v & 0xFF);
    put8(out, (v >> 8) & 0xFF);
}
void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void put32be(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) put8(out, (v >> shift) & 0xFF);
}

// The DIB of one icon image: header (height counts both bitmaps), palette, colour bitmap, AND mask.
std::vector<unsigned char> iconDib(const IconImage& icon) {
    const rt::Surface& img = icon.image;
    const auto& palette = rt::standardPalette16();
    const std::size_t colourStride = ((static_cast<std::size_t>(img.width) * 4 + 31) / 32) * 4;
    const std::size_t maskStride = ((static_cast<std::size_t>(img.width) + 31) / 32) * 4;
    std::vector<unsigned char> out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(img.width));
    put32(out, static_cast<std::uint32_t>(img.height * 2));
    put16(out, 1);
    put16(out, 4);
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>((colourStride + maskStride) * img.height));
    put32(out, 0);
    put32(out, 0);
    put32(out, 16);
    put32(out, 0);
    for (rt::Pixel p : palette) {
        put8(out, p & 0xFF);
        put8(out, (p >> 8) & 0xFF);
        put8(out, (p >> 16) & 0xFF);
        put8(out, 0);
    }
    for (int y = img.height - 1; y >= 0; --y) {
        std::vector<unsigned char> line(colourStride, 0);
        for (int x = 0; x < img.width; ++x) {
            const auto it = std::find(palette.begin(), palette.end(), img.at(x, y));
            if (it == palette.end()) throw rt::FormatError("an icon pixel outside the palette");
            const auto index = static_cast<unsigned>(it - palette.begin());
            line[static_cast<std::size_t>(x) / 2] |= static_cast<unsigned char>(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    for (int y = img.height - 1; y >= 0; --y) {
        std::vector<unsigned char> line(maskStride, 0);
        for (int x = 0; x < img.width; ++x)
            if (!icon.opaque[static_cast<std::size_t>(y) * img.width + x])
                line[static_cast<std::size_t>(x) / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

std::uint32_t crc32(const unsigned char* data, std::size_t n, std::uint32_t crc = 0) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void chunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
    put32be(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32be(out, crc32(out.data() + start, out.size() - start));
}

}  // namespace

std::vector<unsigned char> encodeIco(const std::vector<IconImage>& images) {
    std::vector<std::vector<unsigned char>> dibs;
    for (const IconImage& icon : images) dibs.push_back(iconDib(icon));
    std::vector<unsigned char> out;
    put16(out, 0);
    put16(out, 1);  // an icon, not a cursor
    put16(out, static_cast<std::uint32_t>(images.size()));
    auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        put8(out, static_cast<unsigned>(images[i].image.width) & 0xFF);  // 0 would mean 256
        put8(out, static_cast<unsigned>(images[i].image.height) & 0xFF);
        put8(out, 16);
        put8(out, 0);
        put16(out, 1);
        put16(out, 4);
        put32(out, static_cast<std::uint32_t>(dibs[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(dibs[i].size());
    }
    for (const auto& dib : dibs) out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

std::vector<unsigned char> encodePng(const IconImage& icon) {
    const rt::Surface& img = icon.image;
    const std::size_t stride = static_cast<std::size_t>(img.width) * 4;
    std::vector<unsigned char> rgba;  // RGBA per pixel, row by row
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const rt::Pixel p = img.at(x, y);
            const bool opaque = icon.opaque[static_cast<std::size_t>(y) * img.width + x];
            put8(rgba, opaque ? (p >> 16) & 0xFF : 0);
            put8(rgba, opaque ? (p >> 8) & 0xFF : 0);
            put8(rgba, opaque ? p & 0xFF : 0);
            put8(rgba, opaque ? 255 : 0);
        }
    // Each row is filtered as the one above it (Up) when it repeats that row, else as the difference
    // from the pixel to its left (Sub): an enlarged icon becomes long runs of zeros that deflate to
    // almost nothing.
    std::vector<unsigned char> raw;
    for (int y = 0; y < img.height; ++y) {
        const unsigned char* row = rgba.data() + static_cast<std::size_t>(y) * stride;
        const bool repeats = y > 0 && std::equal(row, row + stride, row - stride);
        put8(raw, repeats ? 2 : 1);
        for (std::size_t i = 0; i < stride; ++i)
            put8(raw, static_cast<unsigned char>(row[i] - (repeats ? row[i - stride] : i >= 4 ? row[i - 4] : 0)));
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> zlib(size);
    if (compress2(zlib.data(), &size, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("cannot compress the PNG's pixels");
    zlib.resize(size);

    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    put32be(header, static_cast<std::uint32_t>(img.width));
    put32be(header, static_cast<std::uint32_t>(img.height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive filters, no interlace
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", zlib);
    chunk(out, "IEND", {});
    return out;
}

std::vector<unsigned char> encodeSvg(const IconImage& icon) {
    const rt::Surface& img = icon.image;
    const std::string side = std::to_string(img.width);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      side + "\" height=\"" + std::to_string(img.height) + "\" viewBox=\"0 0 " + side + " " +
                      std::to_string(img.height) + "\" shape-rendering=\"crispEdges\">\n";
    auto opaque = [&](int x, int y) { return icon.opaque[static_cast<std::size_t>(y) * img.width + x]; };
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width;) {
            if (!opaque(x, y)) {
                ++x;
                continue;
            }
            const rt::Pixel colour = img.at(x, y);
            int end = x + 1;
            while (end < img.width && opaque(end, y) && img.at(end, y) == colour) ++end;
            char fill[8];
            std::snprintf(fill, sizeof fill, "#%06x", static_cast<unsigned>(colour & 0xFFFFFF));
            svg += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\"" +
                   std::to_string(end - x) + "\" height=\"1\" fill=\"" + fill + "\"/>\n";
            x = end;
        }
    svg += "</svg>\n";
    return {svg.begin(), svg.end()};
}

}  // namespace spritegen
