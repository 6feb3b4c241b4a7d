// The frame that the window manager draws around our windows: a fixed border and a title bar with the
// icon and, where wanted, the close box; never a minimise or maximise box.
#pragma once

struct SDL_Window;

namespace sdl {

enum class CloseBox { Shown, Hidden };

// Asks the window manager for that frame; call it before the window is first shown. Only the X11
// video driver has a way to ask: under any other driver the window keeps SDL's frame.
void useFixedFrame(SDL_Window* window, CloseBox closeBox);

}  // namespace sdl
