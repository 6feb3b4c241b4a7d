// Showing a composed image in a window: a copy into the window's software surface, then an update.
// Nothing here waits for the display's refresh.
#pragma once

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/surface.h"

namespace sdl {

// Floor division for window coordinates shown `scale` times larger (a captured mouse can be left of or
// above the window).
inline int unscale(int coordinate, int scale) {
    return coordinate >= 0 ? coordinate / scale : -((-coordinate + scale - 1) / scale);
}

// Where an image shows in a window: each pixel a `scale` x `scale` square, its top-left corner at
// (left, top) of the window; black around it.
struct Placement {
    int scale = 1;
    int left = 0, top = 0;
    bool operator==(const Placement&) const = default;

    // A window point as a point of the image (outside it where the point is on the black around it).
    int imageX(int windowX) const { return unscale(windowX - left, scale); }
    int imageY(int windowY) const { return unscale(windowY - top, scale); }
};

// The largest whole-number scale, at least `smallest`, at which the image fits the window, centred in
// it. A window of the image's own size at `smallest` shows it there at that scale, at (0, 0); a larger
// one (full screen) at the scale that fits it, centred.
inline Placement placeImage(int imageWidth, int imageHeight, int windowWidth, int windowHeight, int smallest = 1) {
    Placement at;
    if (imageWidth <= 0 || imageHeight <= 0) return at;
    at.scale = std::max({1, smallest, std::min(windowWidth / imageWidth, windowHeight / imageHeight)});
    at.left = std::max(0, (windowWidth - imageWidth * at.scale) / 2);
    at.top = std::max(0, (windowHeight - imageHeight * at.scale) / 2);
    return at;
}

// Each of `count` pixels written `scale` times side by side.
inline void widenRow(rt::Pixel* __restrict into, const rt::Pixel* __restrict from, int count, int scale) {
    switch (scale) {  // the usual factors with a fixed inner count, which the compiler unrolls
        case 2:
            for (int x = 0; x < count; ++x) into[2 * x] = into[2 * x + 1] = from[x];
            return;
        case 3:
            for (int x = 0; x < count; ++x) into[3 * x] = into[3 * x + 1] = into[3 * x + 2] = from[x];
            return;
        default:
            for (int x = 0; x < count; ++x)
                for (int i = 0; i < scale; ++i) into[static_cast<std::size_t>(x) * scale + i] = from[x];
    }
}

// Whether a window's surface still holds what the display shows, so that a frame need only send the
// rows that differ from it. False (the next frame is sent whole) for a new window, and once the
// display has lost its pixels (an expose, a new size); a frame placed elsewhere is sent whole too.
struct ShownFrame {
    bool valid = false;
    Placement placement;  // where the image lay in the window's surface
};

// Shows `image` in the window at placeImage's place for the window's size, each pixel a square
// (nearest pixel: it stays sharp), at least `scale` times larger, black around it. With a valid
// `shown`, only the bands of rows that differ from what the window's surface holds are converted and
// sent to the display: a game frame changes a few bands of a mostly black window.
// Returns false (SDL_GetError tells why) when the window has no surface to show it in.
inline bool presentImage(SDL_Window* window, const rt::Surface& image, int scale = 1, ShownFrame* shown = nullptr) {
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (target == nullptr) return false;
    const Placement at = placeImage(image.width, image.height, target->w, target->h, scale);
    scale = at.scale;
    const int w = std::min(image.width, (target->w - at.left) / scale);
    const int h = std::min(image.height, (target->h - at.top) / scale);
    if (w <= 0 || h <= 0) return SDL_UpdateWindowSurface(window) == 0;
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return false;
    const bool bordered = at.left > 0 || at.top > 0 || w * scale < target->w || h * scale < target->h;
    // Rows are compared in the window's own pixels, which are 0x00RRGGBB words when its format is RGB888.
    const bool comparable =
        shown != nullptr && shown->valid && shown->placement == at && target->format->format == SDL_PIXELFORMAT_RGB888;
    if (!comparable && bordered) SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
    // The window's row that shows the image's row y, from the image's left edge on.
    const auto rowOf = [&](int y) {
        return static_cast<unsigned char*>(target->pixels) +
               static_cast<std::ptrdiff_t>(at.top + y * scale) * target->pitch +
               static_cast<std::ptrdiff_t>(at.left) * target->format->BytesPerPixel;
    };
    const auto differs = [&](int y) {
        const auto* now = reinterpret_cast<const rt::Pixel*>(rowOf(y));
        const rt::Pixel* next = &image.at(0, y);
        if (scale == 1) return std::memcmp(now, next, static_cast<std::size_t>(w) * sizeof(rt::Pixel)) != 0;
        for (int x = 0; x < w; ++x)
            if ((now[static_cast<std::ptrdiff_t>(x) * scale] & 0x00FFFFFFu) != next[x]) return true;
        return false;
    };

    // The bands of rows to send; bands a few rows apart are sent as one.
    std::vector<SDL_Rect> bands;
    for (int y = 0; y < h;) {
        if (comparable && !differs(y)) {
            ++y;
            continue;
        }
        int end = y + 1;
        while (end < h && (!comparable || differs(end))) ++end;
        if (!bands.empty() && y - (bands.back().y + bands.back().h) <= 4)
            bands.back().h = end - bands.back().y;
        else
            bands.push_back({0, y, w, end - y});
        y = end;
    }

    static thread_local std::vector<rt::Pixel> wide;
    wide.resize(static_cast<std::size_t>(w) * scale);
    for (const SDL_Rect& band : bands) {
        if (scale == 1) {
            // 0x00RRGGBB words are SDL's RGB888; the window's own format is usually the same, a plain copy.
            SDL_ConvertPixels(w, band.h, SDL_PIXELFORMAT_RGB888, &image.at(0, band.y), image.width * 4,
                              target->format->format, rowOf(band.y), target->pitch);
            continue;
        }
        // Each row widened once, into the window's format, then copied to the rows below it. In the usual
        // format (RGB888, the image's own) the row is widened straight into the window.
        const bool direct = target->format->format == SDL_PIXELFORMAT_RGB888;
        for (int y = band.y; y < band.y + band.h; ++y) {
            const rt::Pixel* from = &image.at(0, y);
            unsigned char* first = rowOf(y);
            rt::Pixel* into = direct ? reinterpret_cast<rt::Pixel*>(first) : wide.data();
            widenRow(into, from, w, scale);
            if (!direct)
                SDL_ConvertPixels(w * scale, 1, SDL_PIXELFORMAT_RGB888, wide.data(), w * scale * 4,
                                  target->format->format, first, target->pitch);
            for (int i = 1; i < scale; ++i)
                std::memcpy(first + static_cast<std::ptrdiff_t>(i) * target->pitch, first,
                            static_cast<std::size_t>(w) * scale * target->format->BytesPerPixel);
        }
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    if (shown != nullptr) *shown = {true, at};
    if (!comparable) return SDL_UpdateWindowSurface(window) == 0;
    if (bands.empty()) return true;  // nothing changed: the display still shows it
    for (SDL_Rect& band : bands) {
        band.x = at.left;
        band.w *= scale;
        band.y = at.top + band.y * scale;
        band.h *= scale;
    }
    return SDL_UpdateWindowSurfaceRects(window, bands.data(), static_cast<int>(bands.size())) == 0;
}

}  // namespace sdl
