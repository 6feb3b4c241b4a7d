#include "backend/sdl/sdl_desktop_scale.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#if defined(QUORVEX_HAVE_X11) && defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#define QUORVEX_XFT_DPI 1
#endif

namespace sdl {

namespace {

// The dots per inch the desktop asks fonts to be drawn at (Xft.dpi), or 0.
double xftDpi() {
#ifdef QUORVEX_XFT_DPI
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 0;
    double dpi = 0;
    if (const char* resources = XResourceManagerString(display)) {
        const std::string all = resources;
        const std::size_t at = all.find("Xft.dpi:");
        if (at != std::string::npos) dpi = std::strtod(all.c_str() + at + 8, nullptr);
    }
    XCloseDisplay(display);
    return dpi;
#else
    return 0;
#endif
}

}  // namespace

int desktopScale() {
    int scale = 1;
    if (const char* gdk = SDL_getenv("GDK_SCALE"); gdk != nullptr && *gdk != '\0')
        scale = std::atoi(gdk);
    else if (const double dpi = xftDpi(); dpi > 0)
        scale = static_cast<int>(dpi / 96.0);
    return std::clamp(scale, 1, 4);
}

}  // namespace sdl
