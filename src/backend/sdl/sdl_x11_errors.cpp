#include "backend/sdl/sdl_x11_errors.h"

#include <SDL.h>
#include <unistd.h>

#include <string>

#if defined(QUORVEX_HAVE_X11) && defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#define QUORVEX_X11_ERRORS 1
#endif

namespace sdl {

#ifdef QUORVEX_X11_ERRORS

namespace {

XErrorHandler previousHandler = nullptr;
std::string commandName;

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

// The display is gone (its server ended, or the connection broke). Xlib would print a few lines and
// call exit() from deep inside some call of SDL's, skipping every teardown; there is nothing left to
// tear down on a display that is gone. One line says what happened, and the process ends at once with
// status 1: the system takes back the memory and the connection.
int handleLostDisplay(Display*) {
    const std::string line = commandName + ": the connection to the display was lost\n";
    [[maybe_unused]] const auto written = write(2, line.data(), line.size());
    _exit(1);
}

}  // namespace

void tolerateLateWakeups() {
    // Only the first call installs it: a second would make it its own successor.
    if (previousHandler == nullptr) previousHandler = XSetErrorHandler(handleError);
}

void endOnLostDisplay(const std::string& command) {
    commandName = command;
    XSetIOErrorHandler(handleLostDisplay);
}

#else

void tolerateLateWakeups() {}
void endOnLostDisplay(const std::string&) {}

#endif

}  // namespace sdl
