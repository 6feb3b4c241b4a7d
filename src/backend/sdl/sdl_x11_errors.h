// X protocol errors that SDL's own housekeeping can provoke and that must not end the program.
#pragma once

namespace sdl {

// Makes a late wake-up message to a window that has just been destroyed harmless under the X11 video
// driver; every other X error is handled as before. Call before SDL_Init: SDL chains its own handler
// to the one it finds, and puts that one back when it quits, before it reads the server's last replies.
// Without Xlib this does nothing.
void tolerateLateWakeups();

}  // namespace sdl
