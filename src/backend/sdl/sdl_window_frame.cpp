#include "backend/sdl/sdl_window_frame.h"

#include <SDL.h>
#include <SDL_syswm.h>

#if defined(QUORVEX_HAVE_X11) && defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#define QUORVEX_FRAME_HINTS 1
#endif

namespace sdl {

#ifdef QUORVEX_FRAME_HINTS

namespace {

// The Motif window-manager hints, which the common X window managers read to choose the buttons and
// the actions of a frame. Format-32 properties travel as an array of C longs.
struct MotifHints {
    unsigned long flags;
    unsigned long functions;
    unsigned long decorations;
    long inputMode;
    unsigned long status;
};
constexpr unsigned long kHintsFunctions = 1ul << 0;
constexpr unsigned long kHintsDecorations = 1ul << 1;
constexpr unsigned long kFunctionMove = 1ul << 2;
constexpr unsigned long kFunctionClose = 1ul << 5;
constexpr unsigned long kDecorationBorder = 1ul << 1;
constexpr unsigned long kDecorationTitle = 1ul << 3;
constexpr unsigned long kDecorationMenu = 1ul << 4;  // the icon at the left of the title bar

}  // namespace

void useFixedFrame(SDL_Window* window, CloseBox closeBox) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
    Display* display = info.info.x11.display;
    // Not resizable: no size function and no maximise or minimise function, so no such box either.
    const MotifHints hints{kHintsFunctions | kHintsDecorations,
                           kFunctionMove | (closeBox == CloseBox::Shown ? kFunctionClose : 0ul),
                           kDecorationBorder | kDecorationTitle | kDecorationMenu, 0, 0};
    const Atom property = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, info.info.x11.window, property, property, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&hints), sizeof(hints) / sizeof(long));
    XFlush(display);
}

void offerIconSizes(SDL_Window* window, const std::vector<rt::IconImage>& images) {
    if (images.empty()) return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
    // _NET_WM_ICON: width, height, then the ARGB pixels, for each size in turn; C longs, as any
    // format-32 property.
    std::vector<unsigned long> cardinals;
    for (const rt::IconImage& icon : images) {
        cardinals.push_back(static_cast<unsigned long>(icon.image.width));
        cardinals.push_back(static_cast<unsigned long>(icon.image.height));
        for (const std::uint32_t pixel : icon.argb()) cardinals.push_back(pixel);
    }
    Display* display = info.info.x11.display;
    XChangeProperty(display, info.info.x11.window, XInternAtom(display, "_NET_WM_ICON", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(cardinals.data()),
                    static_cast<int>(cardinals.size()));
    XFlush(display);
}

ManagerFullScreen managerFullScreen(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
        return ManagerFullScreen::Unknown;
    Display* display = info.info.x11.display;
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, info.info.x11.window, XInternAtom(display, "_NET_WM_STATE", False), 0, 64, False,
                           XA_ATOM, &type, &format, &count, &after, &data) != Success)
        return ManagerFullScreen::Unknown;
    ManagerFullScreen state = ManagerFullScreen::Off;
    if (data != nullptr && type == XA_ATOM && format == 32) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);  // format-32 items travel as C longs
        for (unsigned long i = 0; i < count; ++i)
            if (atoms[i] == fullScreen) state = ManagerFullScreen::On;
    }
    if (data != nullptr) XFree(data);
    return state;
}

#else

void useFixedFrame(SDL_Window*, CloseBox) {}
void offerIconSizes(SDL_Window*, const std::vector<rt::IconImage>&) {}
ManagerFullScreen managerFullScreen(SDL_Window*) { return ManagerFullScreen::Unknown; }

#endif

}  // namespace sdl
