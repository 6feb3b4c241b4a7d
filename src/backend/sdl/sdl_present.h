// Showing a composed image in a window: a copy into the window's software surface, then an update.
// Nothing here waits for the display's refresh.
#pragma once

#include <SDL.h>

#include <algorithm>

#include "runtime/surface.h"

namespace sdl {

// Returns false (SDL_GetError tells why) when the window has no surface to show it in.
inline bool presentImage(SDL_Window* window, const rt::Surface& image) {
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (target == nullptr) return false;
    const int w = std::min(image.width, target->w), h = std::min(image.height, target->h);
    if (w > 0 && h > 0) {
        if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return false;
        // 0x00RRGGBB words are SDL's RGB888; the window's own format is usually the same, a plain copy.
        SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_RGB888, image.pixels.data(), image.width * 4,
                          target->format->format, target->pixels, target->pitch);
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    }
    return SDL_UpdateWindowSurface(window) == 0;
}

}  // namespace sdl
