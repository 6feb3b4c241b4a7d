// The program icon for the title bars: the 32 x 32 image of the embedded icon file.
#pragma once

#include <SDL.h>

#include <cstring>

#include "assets/assets.h"
#include "runtime/icon.h"

namespace sdl {

// Null when the icon cannot be read: the windows then show the desktop's default icon.
inline SDL_Surface* loadProgramIcon() {
    const auto icon = rt::decodeIcoImage(assets::find("quorvex.ico"), 32);
    if (!icon) return nullptr;
    const std::vector<std::uint32_t> pixels = icon->argb();
    const int w = icon->image.width, h = icon->image.height;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) return nullptr;
    for (int y = 0; y < h; ++y)
        std::memcpy(static_cast<Uint8*>(surface->pixels) + static_cast<std::ptrdiff_t>(y) * surface->pitch,
                    pixels.data() + static_cast<std::size_t>(y) * w, static_cast<std::size_t>(w) * 4);
    return surface;
}

}  // namespace sdl
