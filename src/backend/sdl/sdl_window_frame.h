// The frame that the window manager draws around our windows: a fixed border and a title bar with the
// icon and, where wanted, the close box; never a minimise or maximise box.
#pragma once

#include <vector>

#include "runtime/icon.h"

struct SDL_Window;

namespace sdl {

enum class CloseBox { Shown, Hidden };

// Asks the window manager for that frame; call it before the window is first shown. Only the X11
// video driver has a way to ask: under any other driver the window keeps SDL's frame.
void useFixedFrame(SDL_Window* window, CloseBox closeBox);

// Offers the window manager every size of the program icon (32 x 32 and 16 x 16), so that a title bar
// shows the small image as drawn rather than the large one scaled down. SDL's own icon call offers one
// size only; under drivers other than X11 that one stays.
void offerIconSizes(SDL_Window* window, const std::vector<rt::IconImage>& images);

// What the window manager says of the window's full screen (_NET_WM_STATE_FULLSCREEN): it can put a
// window there, or take it out, by itself (at another program's request, such as a pager's).
enum class ManagerFullScreen { On, Off, Unknown };  // Unknown: no X11 driver, or no such property
ManagerFullScreen managerFullScreen(SDL_Window* window);

}  // namespace sdl
