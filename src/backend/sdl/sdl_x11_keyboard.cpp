#include "backend/sdl/sdl_x11_keyboard.h"

#include <SDL_syswm.h>

#if defined(QUORVEX_HAVE_X11) && defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

namespace sdl {

#if defined(QUORVEX_HAVE_X11) && defined(SDL_VIDEO_DRIVER_X11)

namespace {

// The X symbol of a key SDL names; 0 for one it has no plain counterpart for.
KeySym keySymOf(SDL_Keycode key) {
    switch (key) {
        case SDLK_RETURN: return XK_Return;
        case SDLK_KP_ENTER: return XK_KP_Enter;
        case SDLK_ESCAPE: return XK_Escape;
        case SDLK_TAB: return XK_Tab;
        case SDLK_LEFT: return XK_Left;
        case SDLK_RIGHT: return XK_Right;
        case SDLK_UP: return XK_Up;
        case SDLK_DOWN: return XK_Down;
        default: break;
    }
    // Printable keys: SDL's code is the character, which for Latin-1 is also X's symbol.
    return key >= 0x20 && key <= 0x7e ? static_cast<KeySym>(key) : 0;
}

}  // namespace

bool keyCertainlyUp(SDL_Window* window, SDL_Keycode key) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
        return false;
    Display* display = info.info.x11.display;
    const KeySym symbol = keySymOf(key);
    const KeyCode code = symbol == 0 ? 0 : XKeysymToKeycode(display, symbol);
    if (code == 0) return false;
    char keys[32] = {};
    XQueryKeymap(display, keys);
    return (keys[code / 8] & (1 << (code % 8))) == 0;
}

#else

bool keyCertainlyUp(SDL_Window*, SDL_Keycode) { return false; }

#endif

}  // namespace sdl
