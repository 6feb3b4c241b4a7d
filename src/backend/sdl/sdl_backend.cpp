#include "backend/sdl/sdl_backend.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>
#include <string>

#include "backend/sdl/sdl_fonts.h"
#include "backend/sdl/sdl_icon.h"
#include "backend/sdl/sdl_memory.h"
#include "backend/sdl/sdl_present.h"
#include "backend/sdl/sdl_question.h"
#include "backend/sdl/sdl_screen_fit.h"
#include "backend/sdl/sdl_window_frame.h"
#include "backend/sdl/sdl_x11_errors.h"
#include "backend/sdl/sdl_desktop_scale.h"
#include "runtime/constants.h"

namespace sdl {

namespace {

// Long enough for the window manager to hand the focus from one window of ours to the next.
constexpr std::uint64_t kFocusSettleMs = 250;

// The system's virtual-key codes; 0 for keys it has no code for.
int virtualKey(const SDL_Keysym& key) {
    const SDL_Keycode sym = key.sym;
    if (sym >= SDLK_a && sym <= SDLK_z) return rt::vbKeyA + static_cast<int>(sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9) return rt::vbKey0 + static_cast<int>(sym - SDLK_0);
    if (sym >= SDLK_F1 && sym <= SDLK_F12) return rt::vbKeyF1 + static_cast<int>(sym - SDLK_F1);
    switch (sym) {
        case SDLK_BACKSPACE: return rt::vbKeyBack;
        case SDLK_TAB: return rt::vbKeyTab;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return rt::vbKeyReturn;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return rt::vbKeyShift;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return rt::vbKeyControl;
        case SDLK_LALT:
        case SDLK_RALT: return rt::vbKeyMenu;
        case SDLK_ESCAPE: return rt::vbKeyEscape;
        case SDLK_SPACE: return rt::vbKeySpace;
        case SDLK_LEFT: return rt::vbKeyLeft;
        case SDLK_UP: return rt::vbKeyUp;
        case SDLK_RIGHT: return rt::vbKeyRight;
        case SDLK_DOWN: return rt::vbKeyDown;
        case SDLK_PAUSE: return rt::vbKeyPause;
        default: break;
    }
    // Layouts whose keys type no Latin letters or digits: the key's place names it.
    const SDL_Scancode code = key.scancode;
    if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return rt::vbKeyA + static_cast<int>(code - SDL_SCANCODE_A);
    if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9)
        return rt::vbKey0 + 1 + static_cast<int>(code - SDL_SCANCODE_1);
    if (code == SDL_SCANCODE_0) return rt::vbKey0;
    return 0;
}

int mouseButton(Uint8 button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return 1;
        case SDL_BUTTON_RIGHT: return 2;
        case SDL_BUTTON_MIDDLE: return 4;
        default: return 0;
    }
}

Uint32 windowIdOf(const SDL_Event& event) {
    switch (event.type) {
        case SDL_WINDOWEVENT: return event.window.windowID;
        case SDL_KEYDOWN:
        case SDL_KEYUP: return event.key.windowID;
        case SDL_MOUSEMOTION: return event.motion.windowID;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: return event.button.windowID;
        case SDL_MOUSEWHEEL: return event.wheel.windowID;
        default: return 0;
    }
}

// Why no window can open: the display named by DISPLAY does not answer, or there is none.
std::string displayProblem(const char* sdlError) {
    const char* display = SDL_getenv("DISPLAY");
    std::string why = display != nullptr && *display != '\0'
                          ? std::string("cannot open the display \"") + display + "\""
                          : std::string("no display (is DISPLAY set?)");
    if (sdlError != nullptr && *sdlError != '\0') why += std::string(" (") + sdlError + ")";
    return why;
}

timespec now(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return ts;
}

}  // namespace

SdlBackend::SdlBackend(const rt::ProgramIdentity& identity, int scale, bool fullScreen)
    : command_(identity.command),
      scale_(std::clamp(scale, 0, 4)),
      scaleAskedFor_(scale_ != 0),
      iconImages_(identity.icon),
      fullScreen_(fullScreen) {
    // A plain software surface per window: far cheaper to present into than a GL-backed one.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Ctrl+C and termination end the process as usual; SDL would turn them into a quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A click on an inactive window both activates it and counts as a click.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    tolerateLateWakeups();
#if defined(__unix__) && !defined(__APPLE__)
    if (SDL_getenv("DISPLAY") == nullptr && SDL_getenv("WAYLAND_DISPLAY") == nullptr &&
        SDL_getenv("SDL_VIDEODRIVER") == nullptr)
        throw StartError("no display (DISPLAY is not set)");
#endif
    // An X display and no Wayland one: only the X11 driver can serve, and probing the others only adds
    // their complaints to ours when the display does not answer.
    if (SDL_getenv("DISPLAY") != nullptr && SDL_getenv("WAYLAND_DISPLAY") == nullptr)
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        const std::string reason = SDL_GetError();
        requireRoom(kRoomToStartALibrary);  // a display that could not be opened for want of memory
        throw StartError(displayProblem(reason.c_str()));
    }
    // Without a display SDL falls back to a driver that shows nothing, and the game would run on
    // unseen. Such a driver is used only when asked for by name (the back-end's own tests do).
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (driver != nullptr && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
        (asked == nullptr || SDL_strcasecmp(asked, driver) != 0)) {
        SDL_Quit();
        throw StartError(displayProblem(nullptr));
    }
    if (TTF_Init() != 0) {
        const std::string reason = TTF_GetError();
        SDL_Quit();
        requireRoom(kRoomToStartALibrary);
        throw StartError(reason);
    }
    endOnLostDisplay(command_);
    // Game controllers, where SDL can reach them; without them the keyboard is still there.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    if (scale_ == 0) scale_ = desktopScale();
    // Keys arrive as keys, never through an input method.
    SDL_StopTextInput();
    if (!iconImages_.empty()) icon_ = iconSurface(iconImages_.front());
}

SdlBackend::~SdlBackend() {
    questions_.clear();
    for (auto& [id, window] : windows_) SDL_DestroyWindow(window);
    windows_.clear();
    if (icon_ != nullptr) SDL_FreeSurface(icon_);
    fonts_.reset();
    gamepads_.close();
    TTF_Quit();
    SDL_Quit();
}

// ---- clocks ----

std::uint64_t SdlBackend::monotonicMs() {
    const timespec ts = now(CLOCK_MONOTONIC);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1'000'000u;
}

// Milliseconds since the system started, wrapping after about 49.7 days like any 32-bit tick count.
std::uint32_t SdlBackend::tickCount() { return static_cast<std::uint32_t>(monotonicMs()); }

double SdlBackend::secondsSinceMidnight() {
    const timespec ts = now(CLOCK_REALTIME);
    std::tm local{};
    const std::time_t seconds = ts.tv_sec;
    localtime_r(&seconds, &local);
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + static_cast<double>(ts.tv_nsec) / 1e9;
}

// ---- windows ----

SDL_Window* SdlBackend::windowOf(rt::WindowId id) const {
    const auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : it->second;
}

void SdlBackend::fitScaleTo(int clientWidth, int clientHeight) {
    const int fits = fittingScale(scale_, clientWidth, clientHeight);
    if (fits == scale_) return;
    if (scaleAskedFor_)
        std::fprintf(stderr, "%s: --scale %d does not fit the screen; using %d\n", command_.c_str(), scale_, fits);
    scaleAskedFor_ = false;                // said once
    for (auto& [id, window] : windows_) {  // windows made at the larger scale, not yet shown at it
        int width = 0, height = 0;
        SDL_GetWindowSize(window, &width, &height);
        SDL_SetWindowSize(window, width / scale_ * fits, height / scale_ * fits);
    }
    scale_ = fits;
}

rt::WindowId SdlBackend::createWindow(const rt::WindowSpec& layout) {
    fitScaleTo(layout.clientWidth, layout.clientHeight);
    // Not resizable; centred when it is first shown.
    SDL_Window* window = SDL_CreateWindow(layout.caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          layout.clientWidth * scale_, layout.clientHeight * scale_, SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        std::fprintf(stderr, "%s: cannot create a window: %s\n", command_.c_str(), SDL_GetError());
        return 0;
    }
    if (icon_ != nullptr) SDL_SetWindowIcon(window, icon_);
    offerIconSizes(window, iconImages_);
    useFixedFrame(window, CloseBox::Shown);
    const rt::WindowId id = SDL_GetWindowID(window);
    windows_[id] = window;
    imageSizes_[id] = {layout.clientWidth, layout.clientHeight};
    return id;
}

void SdlBackend::showWindow(rt::WindowId id) {
    SDL_Window* window = windowOf(id);
    if (window == nullptr) return;
    if (fullScreen_) showInMode(window, true);  // a window shown in full screen takes it on at once
    SDL_ShowWindow(window);
    // A window shown in answer to the player's key or click becomes the active one, even under a window
    // manager that focuses no new window by itself. One shown on its own (the title window at start) is
    // left to the window manager's rules, as a window that takes the focus unasked would be.
    if (answeringPlayer_) SDL_RaiseWindow(window);
    lastShown_ = id;
}

void SdlBackend::destroyWindow(rt::WindowId id) {
    const auto it = windows_.find(id);
    if (it == windows_.end()) return;
    SDL_DestroyWindow(it->second);
    windows_.erase(it);
    shown_.erase(id);
    imageSizes_.erase(id);
    windowedPlaces_.erase(id);
    managerSaidFull_.erase(id);
    if (lastShown_ == id) lastShown_ = 0;
}

void SdlBackend::setCaption(rt::WindowId id, const std::string& caption) {
    if (SDL_Window* window = windowOf(id)) SDL_SetWindowTitle(window, caption.c_str());
}

bool SdlBackend::present(rt::WindowId id, const rt::Surface& screen) {
    SDL_Window* window = windowOf(id);
    if (window == nullptr) return false;
    const int smallest = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0 ? 1 : scale_;
    if (presentImage(window, screen, smallest, &shown_[id])) return true;
    requireRoom(kRoomToStartALibrary);  // a frame that could not be shown for want of memory
    return false;
}

void SdlBackend::setMouseCapture(bool on) { SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE); }

// ---- full screen ----

Placement SdlBackend::placementOf(rt::WindowId id) const {
    SDL_Window* window = windowOf(id);
    const auto size = imageSizes_.find(id);
    if (window == nullptr || size == imageSizes_.end()) return {scale_, 0, 0};
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    const bool full = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
    return placeImage(size->second.x, size->second.y, width, height, full ? 1 : scale_);
}

void SdlBackend::followWindowManager(rt::WindowId id) {
    SDL_Window* window = windowOf(id);
    if (window == nullptr || (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) == 0) return;
    const ManagerFullScreen state = managerFullScreen(window);
    if (state == ManagerFullScreen::Unknown) return;
    const bool full = state == ManagerFullScreen::On;
    // Only a change of what it says counts: while a switch of our own is on its way, it still says
    // what it said before.
    bool& said = managerSaidFull_[id];
    if (full == said) return;
    said = full;
    if (full == ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0)) return;
    // Put in full screen, or taken out of it, by the window manager at another's request: the window
    // takes it on as if the player had pressed F11 (its size, which is fixed otherwise, follows).
    fullScreen_ = full;
    showInMode(window, full);
}

bool SdlBackend::takeScreenKey(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN && event.type != SDL_KEYUP) return false;
    const int code = event.key.keysym.scancode;
    const auto held = std::find(screenKeysHeld_.begin(), screenKeysHeld_.end(), code);
    if (event.type == SDL_KEYUP) {
        if (held == screenKeysHeld_.end()) return false;
        screenKeysHeld_.erase(held);  // Alt may be let go first: the Return is ours all the same
        return true;
    }
    const SDL_Keycode sym = event.key.keysym.sym;
    const bool altEnter = (sym == SDLK_RETURN || sym == SDLK_KP_ENTER) && (event.key.keysym.mod & KMOD_ALT) != 0;
    if (sym != SDLK_F11 && !altEnter) return false;
    if (held == screenKeysHeld_.end()) screenKeysHeld_.push_back(code);
    if (event.key.repeat == 0) switchScreen(SDL_GetWindowFromID(event.key.windowID));
    return true;
}

void SdlBackend::switchScreen(SDL_Window* pressedIn) {
    if (pressedIn == nullptr) return;
    // The window the key was pressed in tells which way.
    fullScreen_ = (SDL_GetWindowFlags(pressedIn) & SDL_WINDOW_FULLSCREEN) == 0;
    for (auto& [id, window] : windows_) {
        const Uint32 flags = SDL_GetWindowFlags(window);
        if ((flags & SDL_WINDOW_SHOWN) == 0) continue;
        if (fullScreen_ && (flags & SDL_WINDOW_FULLSCREEN) == 0) {
            SDL_Point place{};
            SDL_GetWindowPosition(window, &place.x, &place.y);
            windowedPlaces_[id] = place;
        }
        showInMode(window, fullScreen_);
        // Back at the place it was found at: SDL's own record of it may have been taken while the window
        // manager was still moving the window into the screen's corner.
        const auto place = windowedPlaces_.find(id);
        if (!fullScreen_ && place != windowedPlaces_.end())
            SDL_SetWindowPosition(window, place->second.x, place->second.y);
    }
}

void SdlBackend::showInMode(SDL_Window* window, bool full) {
    const bool isFull = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
    if (full == isFull) return;
    // Back in the window, the window manager puts it back at its place.
    if (SDL_SetWindowFullscreen(window, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
        std::fprintf(stderr, "%s: cannot switch to %s: %s\n", command_.c_str(), full ? "full screen" : "the window",
                     SDL_GetError());
    const rt::WindowId id = SDL_GetWindowID(window);
    shown_.erase(id);
    const auto size = imageSizes_.find(id);
    if (!full && size != imageSizes_.end())  // and at its size, where no window manager restores it
        SDL_SetWindowSize(window, size->second.x * scale_, size->second.y * scale_);
}

// ---- events ----

void SdlBackend::translatePad(const SDL_Event& event) {
    std::vector<PadKey> changes;
    if (!gamepads_.handle(event, changes)) return;
    SDL_Window* focus = SDL_GetKeyboardFocus();
    const Uint32 window = focus != nullptr ? SDL_GetWindowID(focus) : lastShown_;
    for (const PadKey& change : changes) {
        SDL_Event key{};
        key.type = change.down ? SDL_KEYDOWN : SDL_KEYUP;
        key.key.windowID = window;
        key.key.state = change.down ? SDL_PRESSED : SDL_RELEASED;
        key.key.keysym.sym = change.key;
        key.key.keysym.scancode = SDL_GetScancodeFromKey(change.key);
        rt::Event out;
        if (translate(key, out)) pending_.push_back(out);
    }
}

bool SdlBackend::translate(const SDL_Event& event, rt::Event& out) {
    const Uint32 window = windowIdOf(event);
    if (windowOf(window) != nullptr && takeScreenKey(event)) return false;
    if (const auto it = questions_.find(window); it != questions_.end()) {
        const int answer = it->second->handle(event);
        if (answer == 0) return false;
        out = rt::Event{rt::EventType::DialogAnswer, window};
        out.answer = answer;
        return true;
    }
    // Events of windows that are gone are passed on all the same: the runtime knows what to ignore.
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const int key = virtualKey(event.key.keysym);
            if (key == 0) return false;
            out = rt::Event{event.type == SDL_KEYDOWN ? rt::EventType::KeyDown : rt::EventType::KeyUp, window};
            out.key = key;
            out.repeat = event.type == SDL_KEYDOWN && event.key.repeat != 0;
            return true;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const int button = mouseButton(event.button.button);
            if (button == 0) return false;
            out = rt::Event{event.type == SDL_MOUSEBUTTONDOWN ? rt::EventType::MouseDown : rt::EventType::MouseUp,
                            window};
            const Placement at = placementOf(window);
            out.x = at.imageX(event.button.x);
            out.y = at.imageY(event.button.y);
            out.button = button;
            return true;
        }
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE: out = rt::Event{rt::EventType::Close, window}; return true;
                case SDL_WINDOWEVENT_MINIMIZED: out = rt::Event{rt::EventType::Minimised, window}; return true;
                case SDL_WINDOWEVENT_FOCUS_LOST: focusCheckAtMs_ = monotonicMs() + kFocusSettleMs; return false;
                case SDL_WINDOWEVENT_MOVED:  // maybe by the window manager's full screen
                    followWindowManager(window);
                    return false;
                case SDL_WINDOWEVENT_SIZE_CHANGED:  // in or out of full screen: the image is placed anew
                    followWindowManager(window);
                    [[fallthrough]];
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_RESTORED:
                    shown_.erase(window);  // the display has lost what it showed: the next frame goes whole
                    out = rt::Event{rt::EventType::Expose, window};
                    return true;
                default: return false;
            }
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION: translatePad(event); return false;
        default: return false;  // the quit event included: a window ends only through its own close
    }
}

bool SdlBackend::pollEvent(rt::Event& out) {
    const bool got = nextEvent(out);
    // The runtime handles each event before it asks for the next: until then, what it does answers it.
    answeringPlayer_ = got && (out.type == rt::EventType::KeyDown || out.type == rt::EventType::KeyUp ||
                               out.type == rt::EventType::MouseDown || out.type == rt::EventType::MouseUp);
    return got;
}

bool SdlBackend::nextEvent(rt::Event& out) {
    SDL_Event event;
    for (;;) {
        if (!pending_.empty()) {  // a controller's event can make several
            out = pending_.front();
            pending_.pop_front();
            return true;
        }
        if (SDL_PollEvent(&event) == 0) {
            if (!focusLostToOthers()) return false;
            out = rt::Event{rt::EventType::FocusLost, 0};
            return true;
        }
        if (translate(event, out)) return true;
    }
}

// Decided once the events of the moment are in and the focus has had its time to settle.
bool SdlBackend::focusLostToOthers() {
    if (focusCheckAtMs_ == rt::kWaitForever || monotonicMs() < focusCheckAtMs_) return false;
    focusCheckAtMs_ = rt::kWaitForever;
    return SDL_GetKeyboardFocus() == nullptr;
}

void SdlBackend::waitForEvent(std::uint64_t untilMs) {
    if (!pending_.empty()) return;
    for (;;) {
        untilMs = std::min(untilMs, focusCheckAtMs_);  // the next poll decides where the focus went
        int timeout = -1;                              // no deadline: sleep until something happens
        if (untilMs != rt::kWaitForever) {
            const timespec clock = now(CLOCK_MONOTONIC);
            const std::uint64_t nowNs =
                static_cast<std::uint64_t>(clock.tv_sec) * 1'000'000'000u + static_cast<std::uint64_t>(clock.tv_nsec);
            if (nowNs >= untilMs * 1'000'000u) return;
            const std::uint64_t wholeMs = (untilMs * 1'000'000u - nowNs) / 1'000'000u;
            if (wholeMs == 0) {
                // Less than a millisecond to go, finer than SDL's waits: slept out to the deadline, so that
                // a wait for the next millisecond ends on it and not a millisecond late. An event that comes
                // meanwhile is taken when it ends.
                const timespec until{static_cast<std::time_t>(untilMs / 1000),
                                     static_cast<long>(untilMs % 1000 * 1'000'000u)};
                while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
                }
                return;
            }
            timeout = static_cast<int>(std::min<std::uint64_t>(wholeMs, INT_MAX));
        }
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, timeout) == 0) {
            if (untilMs == rt::kWaitForever) return;  // only an error ends an endless wait
            continue;  // SDL's clock may be a millisecond ahead of ours: wait out the rest
        }
        rt::Event translated;
        if (translate(event, translated)) pending_.push_back(translated);
        if (!pending_.empty()) return;
    }
}

// ---- the question ----

rt::WindowId SdlBackend::openQuestion(const std::string& title, const std::string& prompt) {
    SDL_Window* parent = SDL_GetKeyboardFocus();
    if (parent == nullptr || windowOf(SDL_GetWindowID(parent)) == nullptr) parent = windowOf(lastShown_);
    auto dialog = std::make_unique<QuestionDialog>(fonts(), title, prompt, parent, scale_);
    if (!dialog->valid()) {
        std::fprintf(stderr, "%s: cannot open a question: %s\n", command_.c_str(), SDL_GetError());
        return 0;
    }
    const rt::WindowId id = dialog->id();
    dialog->show();
    questions_[id] = std::move(dialog);
    return id;
}

void SdlBackend::closeQuestion(rt::WindowId id) { questions_.erase(id); }

// ---- text and errors ----

FontCache& SdlBackend::fonts() {
    // Loaded on first use: reading the font configuration would otherwise delay the first window.
    if (!fonts_) fonts_ = std::make_unique<FontCache>(command_);
    return *fonts_;
}

void SdlBackend::drawLabelText(rt::Surface& screen, const rt::LabelText& label) {
    FontCache& cache = fonts();
    cache.drawText(screen, cache.open(label.font), {label.left, label.top, label.width, label.height}, label.text,
                   label.fore, Align::Centre);
}

void SdlBackend::showError(const std::string& title, const std::string& text) {
    // A box of our own, like the question's, so that it is shown as large as the windows. It waits for
    // its OK; the program is ending, so the other windows' events are let go.
    QuestionDialog box(fonts(), title, text, windowOf(lastShown_), scale_, DialogKind::Error);
    if (!box.valid()) {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
        return;
    }
    box.show();
    SDL_Event event;
    while (SDL_WaitEvent(&event) != 0)
        if (windowIdOf(event) == box.id() && box.handle(event) != 0) return;
}

}  // namespace sdl
