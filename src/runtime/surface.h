// Drawing surfaces and the raster blit.
//
// A surface is a 32-bit image, one 0x00RRGGBB word per pixel. The system names surfaces by 32-bit
// handles (the values it keeps in the sprite catalogue and fetches from windows before each blit);
// the handle table maps them back. Handles are never reused, so a handle whose surface is gone finds
// nothing: the blit by handle (rt::BitBlt) then copies nothing.
#pragma once

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace rt {

using Pixel = std::uint32_t;  // 0x00RRGGBB

constexpr Pixel rgb(int r, int g, int b) {
    return (static_cast<Pixel>(r & 0xFF) << 16) | (static_cast<Pixel>(g & 0xFF) << 8) | static_cast<Pixel>(b & 0xFF);
}

// `fore` over `back` at coverage `alpha` (0 to 255), each channel rounded: the edges of drawn text.
constexpr Pixel blend(Pixel fore, Pixel back, unsigned alpha) {
    auto channel = [&](int shift) {
        const unsigned f = (fore >> shift) & 0xFF, b = (back >> shift) & 0xFF;
        return ((f * alpha + b * (255 - alpha) + 127) / 255) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

namespace colour {
inline constexpr Pixel black = rgb(0, 0, 0);
inline constexpr Pixel white = rgb(255, 255, 255);
inline constexpr Pixel red = rgb(255, 0, 0);
inline constexpr Pixel lime = rgb(0, 255, 0);
inline constexpr Pixel blue = rgb(0, 0, 255);
inline constexpr Pixel yellow = rgb(255, 255, 0);
inline constexpr Pixel magenta = rgb(255, 0, 255);
inline constexpr Pixel olive = rgb(128, 128, 0);
}  // namespace colour

struct Surface {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;  // row-major, top row first

    Surface() = default;
    Surface(int w, int h, Pixel fill = colour::black)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

    const Pixel& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    Pixel& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    void fill(Pixel p);
};

// A rectangle of a surface, in pixels. Built from any 64-bit coordinates; `clipped` keeps the part
// inside a w x h surface.
struct Rect {
    int left = 0, top = 0, width = 0, height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    static Rect clipped(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height, int w, int h);
};

// Draws `colour` through a coverage mask `width` x `height` pixels placed at (x, y), only inside `clip`:
// 0 leaves a pixel, 255 paints it, anything between blends. `coverageAt(column, row)` reads the mask.
// How the back-ends put a rendered line of text on a window's image.
template <class CoverageAt>
void blendThrough(Surface& target, int x, int y, int width, int height, Pixel colour, const Rect& clip,
                  CoverageAt coverageAt) {
    const int x0 = std::max(x, clip.left), x1 = std::min(x + width, clip.left + clip.width);
    const int y0 = std::max(y, clip.top), y1 = std::min(y + height, clip.top + clip.height);
    for (int ty = y0; ty < y1; ++ty)
        for (int tx = x0; tx < x1; ++tx) {
            const unsigned alpha = coverageAt(tx - x, ty - y);
            if (alpha == 0) continue;
            Pixel& dst = target.at(tx, ty);
            dst = alpha == 255 ? colour : blend(colour, dst, alpha);
        }
}

using Handle = std::int32_t;

// Raster operations of the blit.
inline constexpr std::int32_t SRCCOPY = 0x00CC0020;   // dst = src
inline constexpr std::int32_t SRCAND = 0x008800C6;    // dst = dst AND src
inline constexpr std::int32_t SRCPAINT = 0x00EE0086;  // dst = dst OR src

class SurfaceTable {
public:
    Handle add(Surface* surface);
    void remove(Handle h);
    Surface* find(Handle h) const;

private:
    std::unordered_map<Handle, Surface*> surfaces_;
    Handle next_ = 0x0A010000;  // arbitrary, recognisable, non-zero
};

// Copy a w x h rectangle from src (at sx, sy) to dst (at x, y) with a raster operation, clipped to
// both surfaces. Returns false when the operation is unknown.
bool blit(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, std::int32_t rop);

}  // namespace rt
