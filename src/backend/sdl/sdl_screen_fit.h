// How large a window may be shown: with its frame, it must fit the work area of the screen it opens on
// (the screen less the desktop's panels), or its caption or its buttons would be out of reach.
#pragma once

namespace sdl {

// The largest whole-number scale, at most `wanted` and at least 1, at which a window of this client size
// fits the work area of the first screen with a usual frame around it. `wanted` when the work area
// cannot be read.
int fittingScale(int wanted, int clientWidth, int clientHeight);

}  // namespace sdl
