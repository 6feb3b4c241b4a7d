// The program icon as SDL takes it for a title bar.
#pragma once

#include <SDL.h>

#include <cstring>
#include <vector>

#include "runtime/icon.h"

namespace sdl {

// One icon image as an SDL surface, for SDL's own icon call; null if SDL cannot make one.
inline SDL_Surface* iconSurface(const rt::IconImage& icon) {
    const std::vector<std::uint32_t> pixels = icon.argb();
    const int w = icon.image.width, h = icon.image.height;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) return nullptr;
    for (int y = 0; y < h; ++y)
        std::memcpy(static_cast<Uint8*>(surface->pixels) + static_cast<std::ptrdiff_t>(y) * surface->pitch,
                    pixels.data() + static_cast<std::size_t>(y) * w, static_cast<std::size_t>(w) * 4);
    return surface;
}

}  // namespace sdl
