// What the keyboard holds right now, asked of the X server itself. SDL forgets every held key when a
// window loses the focus and does not read them again when another of ours gains it, so only the server
// can tell whether a key held a moment ago is still down.
#pragma once

#include <SDL.h>

namespace sdl {

// Whether `key` is certainly up on the display of `window`. False when it is down, and whenever that
// cannot be told (a driver other than X11, a key without an X symbol of its own).
bool keyCertainlyUp(SDL_Window* window, SDL_Keycode key);

}  // namespace sdl
