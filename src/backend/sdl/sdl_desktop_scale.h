// The desktop's own scale factor, for windows whose pixels are shown larger on large screens.
#pragma once

namespace sdl {

// A whole number from 1 to 4: GDK_SCALE when it is set, else the X resource Xft.dpi over 96 rounded down,
// else 1 (an ordinary screen, or a display without the resource, like a virtual frame buffer).
int desktopScale();

}  // namespace sdl
