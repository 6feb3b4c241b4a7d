#include "backend/sdl/sdl_x11_errors.h"

#include <SDL.h>

#if defined(QUORVEX_HAVE_X11) && defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#define QUORVEX_X11_ERRORS 1
#endif

namespace sdl {

#ifdef QUORVEX_X11_ERRORS

namespace {

XErrorHandler previousHandler = nullptr;

// While SDL waits for events it wakes itself, for every event that comes in, with a message sent to
// one of our windows over a second connection of its own. When that window is destroyed just after
// (the title window on the start button's release, a question once answered), the server may take the
// destruction first and answer the message with BadWindow; Xlib's default handler, reading that answer
// at the next flush or when SDL closes the connection, ends the process with status 1. The message
// had no other purpose.
int handleError(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

}  // namespace

void tolerateLateWakeups() {
    // Only the first call installs it: a second would make it its own successor.
    if (previousHandler == nullptr) previousHandler = XSetErrorHandler(handleError);
}

#else

void tolerateLateWakeups() {}

#endif

}  // namespace sdl
