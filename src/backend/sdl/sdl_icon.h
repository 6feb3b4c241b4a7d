// The program icon for the title bars, from the embedded icon file.
#pragma once

#include <SDL.h>

#include <cstring>
#include <vector>

#include "assets/assets.h"
#include "runtime/icon.h"

namespace sdl {

// Every image of the program icon, 32 x 32 first, then 16 x 16; those that cannot be read are left
// out, and with none the windows show the desktop's default icon.
inline std::vector<rt::IconImage> programIconImages() {
    std::vector<rt::IconImage> images;
    for (const int size : {32, 16})
        if (auto icon = rt::decodeIcoImage(assets::find("quorvex.ico"), size)) images.push_back(std::move(*icon));
    return images;
}

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
