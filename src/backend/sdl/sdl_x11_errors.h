// X protocol errors that SDL's own housekeeping can provoke and that must not end the program.
#pragma once

#include <string>

namespace sdl {

// Makes a late wake-up message to a window that has just been destroyed harmless under the X11 video
// driver; every other X error is handled as before. Call before SDL_Init: SDL chains its own handler
// to the one it finds, and puts that one back when it quits, before it reads the server's last replies.
// Without Xlib this does nothing.
void tolerateLateWakeups();

// When the X display is lost, says so in one line starting with `command` and ends the process with
// status 1. Without Xlib this does nothing.
void endOnLostDisplay(const std::string& command);

}  // namespace sdl
