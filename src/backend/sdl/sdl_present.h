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

// Shows `image` in the window, each pixel a `scale` x `scale` square (nearest pixel: it stays sharp).
// Returns false (SDL_GetError tells why) when the window has no surface to show it in.
inline bool presentImage(SDL_Window* window, const rt::Surface& image, int scale = 1) {
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (target == nullptr) return false;
    const int w = std::min(image.width, target->w / scale), h = std::min(image.height, target->h / scale);
    if (w > 0 && h > 0) {
        if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return false;
        if (scale == 1) {
            // 0x00RRGGBB words are SDL's RGB888; the window's own format is usually the same, a plain copy.
            SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_RGB888, image.pixels.data(), image.width * 4,
                              target->format->format, target->pixels, target->pitch);
        } else {
            // Each row widened once, into the window's format, then copied to the rows below it.
            static thread_local std::vector<rt::Pixel> wide;
            wide.resize(static_cast<std::size_t>(w) * scale);
            auto* rows = static_cast<unsigned char*>(target->pixels);
            for (int y = 0; y < h; ++y) {
                const rt::Pixel* from = &image.at(0, y);
                for (int x = 0; x < w; ++x)
                    for (int i = 0; i < scale; ++i) wide[static_cast<std::size_t>(x) * scale + i] = from[x];
                unsigned char* first = rows + static_cast<std::ptrdiff_t>(y) * scale * target->pitch;
                SDL_ConvertPixels(w * scale, 1, SDL_PIXELFORMAT_RGB888, wide.data(), w * scale * 4,
                                  target->format->format, first, target->pitch);
                for (int i = 1; i < scale; ++i)
                    std::memcpy(first + static_cast<std::ptrdiff_t>(i) * target->pitch, first,
                                static_cast<std::size_t>(w) * scale * target->format->BytesPerPixel);
            }
        }
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    }
    return SDL_UpdateWindowSurface(window) == 0;
}

}  // namespace sdl
