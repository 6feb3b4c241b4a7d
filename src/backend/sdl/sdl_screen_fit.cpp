#include "backend/sdl/sdl_screen_fit.h"

#include <SDL.h>

namespace sdl {

namespace {
// A usual frame: thin borders and a title bar. The real one is known only once the window is shown.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 40;
}  // namespace

int fittingScale(int wanted, int clientWidth, int clientHeight) {
    SDL_Rect area{};
    if (SDL_GetDisplayUsableBounds(0, &area) != 0 || area.w <= 0 || area.h <= 0) return wanted;
    int scale = wanted;
    while (scale > 1 && (clientWidth * scale + kFrameWidth > area.w || clientHeight * scale + kFrameHeight > area.h))
        --scale;
    return scale;
}

}  // namespace sdl
