#include "lettering.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace spritegen {

namespace {

class Face {
public:
    explicit Face(const std::string& path) {
        if (FT_Init_FreeType(&library_) != 0) throw std::runtime_error("cannot start FreeType");
        if (FT_New_Face(library_, path.c_str(), 0, &face_) != 0) {
            FT_Done_FreeType(library_);
            throw std::runtime_error("cannot open font " + path);
        }
    }
    ~Face() {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;

    // Sets the text on a baseline with one-bit glyphs and returns its ink, cropped.
    Ink render(std::string_view text, int pixelWidth, int pixelHeight) const {
        if (FT_Set_Pixel_Sizes(face_, static_cast<FT_UInt>(pixelWidth), static_cast<FT_UInt>(pixelHeight)) != 0)
            throw std::runtime_error("cannot set the font size");
        struct Dot {
            int x, y;
        };
        std::vector<Dot> dots;
        int pen = 0;
        for (char c : text) {
            if (FT_Load_Char(face_, static_cast<unsigned char>(c), FT_LOAD_TARGET_MONO) != 0 ||
                FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_MONO) != 0)
                throw std::runtime_error("cannot render a glyph");
            const FT_GlyphSlot g = face_->glyph;
            const FT_Bitmap& bm = g->bitmap;
            for (unsigned row = 0; row < bm.rows; ++row)
                for (unsigned col = 0; col < bm.width; ++col) {
                    const unsigned char byte = bm.buffer[static_cast<long>(row) * bm.pitch + col / 8];
                    if ((byte >> (7 - col % 8)) & 1)
                        dots.push_back(
                            {pen + g->bitmap_left + static_cast<int>(col), static_cast<int>(row) - g->bitmap_top});
                }
            pen += static_cast<int>(g->advance.x >> 6);
        }
        Ink ink;
        if (dots.empty()) return ink;
        int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
        for (const Dot& d : dots) {
            left = std::min(left, d.x);
            right = std::max(right, d.x);
            top = std::min(top, d.y);
            bottom = std::max(bottom, d.y);
        }
        ink.width = right - left + 1;
        ink.height = bottom - top + 1;
        ink.on.assign(static_cast<std::size_t>(ink.width) * ink.height, 0);
        for (const Dot& d : dots) ink.on[static_cast<std::size_t>(d.y - top) * ink.width + (d.x - left)] = 1;
        return ink;
    }

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

// Samples each target pixel at its centre. With a ratio below 2 the first and last rows and
// columns of the source map onto those of the target, so the ink still touches every edge.
Ink scaleNearest(const Ink& src, int width, int height) {
    Ink out{width, height, std::vector<unsigned char>(static_cast<std::size_t>(width) * height, 0)};
    for (int y = 0; y < height; ++y) {
        const int sy = std::min(src.height - 1, (2 * y + 1) * src.height / (2 * height));
        for (int x = 0; x < width; ++x) {
            const int sx = std::min(src.width - 1, (2 * x + 1) * src.width / (2 * width));
            out.on[static_cast<std::size_t>(y) * width + x] = src.at(sx, sy) ? 1 : 0;
        }
    }
    return out;
}

}  // namespace

Ink fitLettering(const std::string& fontPath, std::string_view text, int width, int height, std::string* note) {
    const Face face(fontPath);
    // Ink height follows the vertical size and ink width the horizontal one, nearly independently
    // (hinting couples them a little), so a few rounds of one-dimensional searches settle it.
    int pxWidth = height, pxHeight = height;
    Ink best;
    for (int round = 0; round < 3; ++round) {
        int bestErr = INT_MAX;
        for (int h = std::max(4, pxHeight / 2); h <= pxHeight * 2; ++h) {
            const Ink ink = face.render(text, pxWidth, h);
            const int err = std::abs(ink.height - height);
            if (err < bestErr) bestErr = err, pxHeight = h;
            if (ink.height > height + height / 4) break;
        }
        bestErr = INT_MAX;
        for (int w = 4; w <= 4 * width; ++w) {
            const Ink ink = face.render(text, w, pxHeight);
            const int err = std::abs(ink.width - width);
            if (err < bestErr) bestErr = err, pxWidth = w;
            if (ink.width > width + width / 4) break;
        }
        best = face.render(text, pxWidth, pxHeight);
        if (best.width == width && best.height == height) break;
    }
    if (note != nullptr)
        *note = "set at " + std::to_string(pxWidth) + " x " + std::to_string(pxHeight) + " px, ink " +
                std::to_string(best.width) + " x " + std::to_string(best.height) + " scaled to " +
                std::to_string(width) + " x " + std::to_string(height);
    return best.width == width && best.height == height ? best : scaleNearest(best, width, height);
}

std::string inkText(const Ink& ink) {
    std::string text;
    for (int y = 0; y < ink.height; ++y) {
        for (int x = 0; x < ink.width; ++x) text += ink.at(x, y) ? '#' : '.';
        text += '\n';
    }
    return text;
}

Ink parseInk(std::string_view text) {
    Ink ink;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) throw std::runtime_error("the ink's last row lacks its line end");
        const std::string_view row = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (ink.height == 0) ink.width = static_cast<int>(row.size());
        if (static_cast<int>(row.size()) != ink.width)
            throw std::runtime_error("ink row " + std::to_string(ink.height + 1) + " is not as long as the first");
        for (char c : row) {
            if (c != '#' && c != '.') throw std::runtime_error("ink holds a character other than '#' and '.'");
            ink.on.push_back(c == '#' ? 1 : 0);
        }
        ++ink.height;
    }
    return ink;
}

void stamp(rt::Surface& image, const Ink& ink, int left, int top, rt::Pixel colour) {
    for (int y = 0; y < ink.height; ++y)
        for (int x = 0; x < ink.width; ++x)
            if (ink.at(x, y)) image.at(left + x, top + y) = colour;
}

}  // namespace spritegen
