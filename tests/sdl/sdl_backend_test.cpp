// The SDL back-end on SDL's display-less video driver: events as the runtime sees them, frames in
// the window surfaces, label text, the program icon and the Yes/No dialog.
#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "backend/sdl/sdl_backend.h"
#include "backend/sdl/sdl_fonts.h"
#include "backend/sdl/sdl_icon.h"
#include "backend/sdl/sdl_question.h"
#include "runtime/constants.h"
#include "runtime/icon.h"

namespace {

using rt::EventType;

// The program's identity as the program hands it over, its icon read from the source tree.
rt::ProgramIdentity programLike() {
    std::ifstream in(std::string(QUORVEX_SOURCE_DIR) + "/assets/quorvex.ico", std::ios::binary);
    const std::vector<unsigned char> ico{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return {"Quorvex", "quorvex", {rt::decodeIcoImage(ico, 32), rt::decodeIcoImage(ico, 16)}};
}

class SdlBackendTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { setenv("SDL_VIDEODRIVER", "dummy", 1); }
    void SetUp() override {
        backend = std::make_unique<sdl::SdlBackend>(programLike(), 1);
        window = backend->createWindow({"Quorvex - By Delmoro", 600, 500});
        ASSERT_NE(window, 0u);
        backend->showWindow(window);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);  // what showing the window itself reported
    }

    static void pushKey(Uint32 type, Uint32 windowId, SDL_Keycode sym, SDL_Scancode code = SDL_SCANCODE_UNKNOWN,
                        bool repeat = false) {
        SDL_Event e{};
        e.type = type;
        e.key.windowID = windowId;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat ? 1 : 0;
        e.key.keysym.sym = sym;
        e.key.keysym.scancode = code;
        SDL_PushEvent(&e);
    }
    static void pushMouse(Uint32 type, Uint32 windowId, Uint8 button, int x, int y) {
        SDL_Event e{};
        e.type = type;
        e.button.windowID = windowId;
        e.button.button = button;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = x;
        e.button.y = y;
        SDL_PushEvent(&e);
    }
    static void pushWindowEvent(Uint32 windowId, SDL_WindowEventID what) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = windowId;
        e.window.event = what;
        SDL_PushEvent(&e);
    }
    std::vector<rt::Event> drain() {
        std::vector<rt::Event> events;
        rt::Event e;
        while (backend->pollEvent(e)) events.push_back(e);
        return events;
    }
    // The keys and clicks among them: a switch of the screen also asks for repaints.
    std::vector<rt::Event> drainInput() {
        std::vector<rt::Event> events = drain();
        std::erase_if(events, [](const rt::Event& e) { return e.type == EventType::Expose; });
        return events;
    }

    std::unique_ptr<sdl::SdlBackend> backend;
    rt::WindowId window = 0;
};

// ---- events ----

TEST_F(SdlBackendTest, KeysArriveAsVirtualKeyCodes) {
    struct Case {
        SDL_Keycode sym;
        SDL_Scancode code;
        int vk;
    };
    const Case cases[] = {
        {SDLK_LEFT, SDL_SCANCODE_LEFT, rt::vbKeyLeft},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, rt::vbKeyRight},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, rt::vbKeySpace},
        {SDLK_UP, SDL_SCANCODE_UP, 38},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, 40},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 13},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27},
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 8},
        {SDLK_TAB, SDL_SCANCODE_TAB, 9},
        {SDLK_a, SDL_SCANCODE_A, 65},
        {SDLK_z, SDL_SCANCODE_Z, 90},
        {SDLK_0, SDL_SCANCODE_0, 48},
        {SDLK_9, SDL_SCANCODE_9, 57},
        {SDLK_F1, SDL_SCANCODE_F1, 112},
        {SDLK_F12, SDL_SCANCODE_F12, 123},
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 16},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, 17},
        {SDLK_LALT, SDL_SCANCODE_LALT, 18},
        {SDLK_PAUSE, SDL_SCANCODE_PAUSE, 19},
        // A layout without Latin letters: the key in the place of F is F.
        {0x0430, SDL_SCANCODE_F, 70},
    };
    for (const Case& c : cases) pushKey(SDL_KEYDOWN, window, c.sym, c.code);
    const std::vector<rt::Event> events = drain();
    ASSERT_EQ(events.size(), std::size(cases));
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].type, EventType::KeyDown);
        EXPECT_EQ(events[i].window, window);
        EXPECT_EQ(events[i].key, cases[i].vk) << "SDL key " << cases[i].sym;
        EXPECT_FALSE(events[i].repeat);
    }
}

TEST_F(SdlBackendTest, AutoRepeatIsFlaggedAndReleasesArrive) {
    pushKey(SDL_KEYDOWN, window, SDLK_RIGHT, SDL_SCANCODE_RIGHT);
    pushKey(SDL_KEYDOWN, window, SDLK_RIGHT, SDL_SCANCODE_RIGHT, true);
    pushKey(SDL_KEYUP, window, SDLK_RIGHT, SDL_SCANCODE_RIGHT);
    pushKey(SDL_KEYDOWN, window, SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK);  // no code: dropped
    const std::vector<rt::Event> events = drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_FALSE(events[0].repeat);
    EXPECT_TRUE(events[1].repeat);
    EXPECT_EQ(events[2].type, EventType::KeyUp);
    EXPECT_EQ(events[2].key, rt::vbKeyRight);
}

TEST_F(SdlBackendTest, MouseButtonsArriveWithClientCoordinates) {
    pushMouse(SDL_MOUSEBUTTONDOWN, window, SDL_BUTTON_LEFT, 260, 450);
    pushMouse(SDL_MOUSEBUTTONUP, window, SDL_BUTTON_LEFT, -5, 510);  // captured: outside the window
    pushMouse(SDL_MOUSEBUTTONDOWN, window, SDL_BUTTON_RIGHT, 1, 2);
    pushMouse(SDL_MOUSEBUTTONDOWN, window, SDL_BUTTON_MIDDLE, 3, 4);
    pushMouse(SDL_MOUSEBUTTONDOWN, window, SDL_BUTTON_X1, 5, 6);  // no such button: dropped
    const std::vector<rt::Event> events = drain();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].type, EventType::MouseDown);
    EXPECT_EQ(events[0].button, 1);
    EXPECT_EQ(events[0].x, 260);
    EXPECT_EQ(events[0].y, 450);
    EXPECT_EQ(events[1].type, EventType::MouseUp);
    EXPECT_EQ(events[1].x, -5);
    EXPECT_EQ(events[1].y, 510);
    EXPECT_EQ(events[2].button, 2);
    EXPECT_EQ(events[3].button, 4);
}

TEST_F(SdlBackendTest, CloseBoxAndRepaintsArriveAndOtherWindowsArePassedOn) {
    pushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
    pushWindowEvent(window, SDL_WINDOWEVENT_EXPOSED);
    pushWindowEvent(window, SDL_WINDOWEVENT_RESTORED);
    pushWindowEvent(window, SDL_WINDOWEVENT_MOVED);  // nothing the runtime needs
    pushKey(SDL_KEYDOWN, 4242, SDLK_SPACE, SDL_SCANCODE_SPACE);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);  // a window closes only through its own close box
    const std::vector<rt::Event> events = drain();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].type, EventType::Close);
    EXPECT_EQ(events[0].window, window);
    EXPECT_EQ(events[1].type, EventType::Expose);
    EXPECT_EQ(events[2].type, EventType::Expose);
    EXPECT_EQ(events[3].window, 4242u);
}

// A minimised window arrives as such. A focus-out becomes "the focus went to another program" only once
// the focus has had time to settle with no window of ours holding it (here none ever does), and a wait
// wakes up for that decision.
TEST_F(SdlBackendTest, MinimiseAndTheFocusLostToAnotherProgramArrive) {
    pushWindowEvent(window, SDL_WINDOWEVENT_MINIMIZED);
    pushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_LOST);
    std::vector<rt::Event> events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EventType::Minimised);
    EXPECT_EQ(events[0].window, window);
    const std::uint64_t start = backend->monotonicMs();
    backend->waitForEvent(start + 10'000);
    EXPECT_LT(backend->monotonicMs() - start, 5'000u) << "the wait did not wake up to decide";
    events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EventType::FocusLost);
    EXPECT_EQ(events[0].window, 0u);
    EXPECT_TRUE(drain().empty()) << "decided once";
}

// A virtual game controller: the D-pad and the left stick (past its dead zone) are Left and Right, the
// face buttons Space, Start is P; a key held by two buttons goes up with the last, and a pad that is
// unplugged lets go of what it held. Keys go to the window last shown when none has the focus.
TEST_F(SdlBackendTest, AGamepadPressesAndReleasesKeys) {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");  // the dummy driver focuses no window
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "test pad";
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(device, 0) << SDL_GetError();
    EXPECT_TRUE(drain().empty());  // the pad is opened on its arrival
    SDL_Joystick* pad = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device));
    ASSERT_NE(pad, nullptr) << "the back-end did not open the pad";

    struct Step {
        bool axis;
        int which, value;
        std::vector<std::pair<EventType, int>> keys;
    };
    const EventType down = EventType::KeyDown, up = EventType::KeyUp;
    const std::vector<Step> steps = {
        {false, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1, {{down, rt::vbKeyLeft}}},
        {false, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0, {{up, rt::vbKeyLeft}}},
        {true, SDL_CONTROLLER_AXIS_LEFTX, -10000, {}},  // inside the dead zone
        {true, SDL_CONTROLLER_AXIS_LEFTX, -20000, {{down, rt::vbKeyLeft}}},
        {true, SDL_CONTROLLER_AXIS_LEFTX, -14000, {}},  // coming back, not yet released
        {true, SDL_CONTROLLER_AXIS_LEFTX, -3000, {{up, rt::vbKeyLeft}}},
        {true, SDL_CONTROLLER_AXIS_LEFTX, 32767, {{down, rt::vbKeyRight}}},
        {false, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1, {}},  // already down
        {true, SDL_CONTROLLER_AXIS_LEFTX, 0, {}},          // the D-pad still holds it
        {false, SDL_CONTROLLER_BUTTON_A, 1, {{down, rt::vbKeySpace}}},
        {false, SDL_CONTROLLER_BUTTON_Y, 1, {}},
        {false, SDL_CONTROLLER_BUTTON_A, 0, {}},
        {false, SDL_CONTROLLER_BUTTON_Y, 0, {{up, rt::vbKeySpace}}},
        {false, SDL_CONTROLLER_BUTTON_START, 1, {{down, 'P'}}},
        {false, SDL_CONTROLLER_BUTTON_START, 0, {{up, 'P'}}},
        {false, SDL_CONTROLLER_BUTTON_BACK, 1, {}},  // no key
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        if (step.axis)
            SDL_JoystickSetVirtualAxis(pad, step.which, static_cast<Sint16>(step.value));
        else
            SDL_JoystickSetVirtualButton(pad, step.which, static_cast<Uint8>(step.value));
        const std::vector<rt::Event> events = drain();
        ASSERT_EQ(events.size(), step.keys.size()) << "step " << i;
        for (std::size_t k = 0; k < events.size(); ++k) {
            EXPECT_EQ(events[k].type, step.keys[k].first) << "step " << i;
            EXPECT_EQ(events[k].key, step.keys[k].second) << "step " << i;
            EXPECT_EQ(events[k].window, window) << "step " << i;
        }
    }
    SDL_JoystickDetachVirtual(device);  // unplugged with Right held on the D-pad
    const std::vector<rt::Event> events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, up);
    EXPECT_EQ(events[0].key, rt::vbKeyRight);
}

TEST_F(SdlBackendTest, WaitingKeepsTheEventItWokeUpForUntilThePoll) {
    pushKey(SDL_KEYDOWN, window, SDLK_SPACE, SDL_SCANCODE_SPACE);
    backend->waitForEvent(rt::kWaitForever);  // an event is there: returns at once
    rt::Event e;
    ASSERT_TRUE(backend->pollEvent(e));
    EXPECT_EQ(e.key, 32);
    EXPECT_FALSE(backend->pollEvent(e));
}

TEST_F(SdlBackendTest, WaitingWithNothingToDoReturnsAtTheDeadline) {
    // Events the runtime has no use for do not end the wait early either.
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = window;
    SDL_PushEvent(&motion);
    const std::uint64_t until = backend->monotonicMs() + 30;
    backend->waitForEvent(until);
    EXPECT_GE(backend->monotonicMs(), until);
    rt::Event e;
    EXPECT_FALSE(backend->pollEvent(e));
}

// ---- clocks ----

TEST_F(SdlBackendTest, ClocksAgree) {
    const std::uint64_t ms = backend->monotonicMs();
    const std::uint32_t ticks = backend->tickCount();
    EXPECT_LE(static_cast<std::uint32_t>(ticks - static_cast<std::uint32_t>(ms)), 50u);
    const double seconds = backend->secondsSinceMidnight();
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    const double expected = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
    EXPECT_GE(seconds, 0.0);
    EXPECT_LT(seconds, 86401.0);
    // Around midnight the two readings may straddle it.
    const double diff = std::abs(seconds - expected);
    EXPECT_TRUE(diff < 2.0 || diff > 86398.0) << seconds << " vs " << expected;
}

// ---- windows and frames ----

TEST_F(SdlBackendTest, WindowsHaveTheClientSizeAndCaptionAndShowFramesExactly) {
    SDL_Window* sdlWindow = SDL_GetWindowFromID(window);
    ASSERT_NE(sdlWindow, nullptr);
    int w = 0, h = 0;
    SDL_GetWindowSize(sdlWindow, &w, &h);
    EXPECT_EQ(w, 600);
    EXPECT_EQ(h, 500);
    EXPECT_EQ(SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_RESIZABLE, 0u);
    EXPECT_STREQ(SDL_GetWindowTitle(sdlWindow), "Quorvex - By Delmoro");
    backend->setCaption(window, "Level 2");
    EXPECT_STREQ(SDL_GetWindowTitle(sdlWindow), "Level 2");

    rt::Surface frame(600, 500);
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 600; ++x) frame.at(x, y) = rt::rgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF);
    backend->present(window, frame);
    SDL_Surface* shown = SDL_GetWindowSurface(sdlWindow);
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(SDL_LockSurface(shown), 0);
    int mismatches = 0;
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 600; ++x) {
            Uint32 raw = 0;
            std::memcpy(&raw, static_cast<Uint8*>(shown->pixels) + y * shown->pitch + x * shown->format->BytesPerPixel,
                        shown->format->BytesPerPixel);
            Uint8 r = 0, g = 0, b = 0;
            SDL_GetRGB(raw, shown->format, &r, &g, &b);
            if (rt::rgb(r, g, b) != frame.at(x, y)) ++mismatches;
        }
    SDL_UnlockSurface(shown);
    EXPECT_EQ(mismatches, 0);
}

TEST_F(SdlBackendTest, ADestroyedWindowIsGoneAndCallsOnItAreHarmless) {
    backend->destroyWindow(window);
    EXPECT_EQ(SDL_GetWindowFromID(window), nullptr);
    backend->present(window, rt::Surface(600, 500));
    backend->setCaption(window, "x");
    backend->showWindow(window);
    backend->destroyWindow(window);
}

TEST(SdlIcon, TheProgramIconIsA32PixelDiscOnTransparency) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    const std::vector<rt::IconImage> images = programLike().icon;
    SDL_Surface* icon = sdl::iconSurface(images[0]);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->w, 32);
    EXPECT_EQ(icon->h, 32);
    auto alphaAt = [&](int x, int y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(icon->pixels) + y * icon->pitch);
        return row[x] >> 24;
    };
    EXPECT_EQ(alphaAt(0, 0), 0u);
    EXPECT_EQ(alphaAt(31, 31), 0u);
    EXPECT_EQ(alphaAt(16, 16), 255u);
    SDL_FreeSurface(icon);
}

// ---- text ----

struct Ink {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1, count = 0;
};

Ink inkOf(const rt::Surface& s, rt::Pixel background = rt::colour::black) {
    Ink ink;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            if (s.at(x, y) != background) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                ++ink.count;
            }
    return ink;
}

rt::LabelText label(int left, int top, int width, int height, std::string text, rt::FontSpec font) {
    rt::LabelText l;
    l.left = left;
    l.top = top;
    l.width = width;
    l.height = height;
    l.text = std::move(text);
    l.fore = rt::colour::lime;
    l.font = std::move(font);
    return l;
}

TEST_F(SdlBackendTest, LabelTextIsCentredInsideTheLabel) {
    rt::Surface screen(600, 500);
    backend->drawLabelText(screen, label(188, 184, 225, 37, "Get Ready", {"MS Sans Serif", 24, false}));
    const Ink ink = inkOf(screen);
    ASSERT_GT(ink.count, 100);
    EXPECT_GE(ink.left, 188);
    EXPECT_LT(ink.right, 188 + 225);
    EXPECT_GE(ink.top, 184);
    EXPECT_LT(ink.bottom, 184 + 37);
    EXPECT_NEAR(ink.left - 188, 188 + 224 - ink.right, 3);
    EXPECT_NE(std::find(screen.pixels.begin(), screen.pixels.end(), rt::colour::lime), screen.pixels.end());
}

TEST_F(SdlBackendTest, CarriageReturnsAndWrappingMakeCentredLines) {
    rt::Surface screen(600, 500);
    backend->drawLabelText(screen, label(0, 0, 600, 200, "WWWWWW\rI", {"Courier New", 12, true}));
    // Two bands of ink, the second narrow one centred under the first.
    std::vector<int> rowsWithInk;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 600; ++x)
            if (screen.at(x, y) != 0) {
                rowsWithInk.push_back(y);
                break;
            }
    ASSERT_FALSE(rowsWithInk.empty());
    int bands = 1;
    for (std::size_t i = 1; i < rowsWithInk.size(); ++i)
        if (rowsWithInk[i] != rowsWithInk[i - 1] + 1) ++bands;
    EXPECT_EQ(bands, 2);
    Ink second;
    for (int y = rowsWithInk.back() - 5; y <= rowsWithInk.back(); ++y)
        for (int x = 0; x < 600; ++x)
            if (screen.at(x, y) != 0) {
                second.left = std::min(second.left, x);
                second.right = std::max(second.right, x);
            }
    EXPECT_NEAR((second.left + second.right) / 2.0, 300, 6);
}

TEST_F(SdlBackendTest, TheWelcomeTextFitsItsLabelToTheLastLine) {
    // Ten wrapped lines in a 181-pixel label: the tenth shows only at the faces' own line spacing.
    const std::string text =
        "Welcome to 'Quorvex' by Delmoro.\rUse the Left and Right Arrow Keys to move your ship around and press "
        "'Space' to fire your missiles.\rThe Aliens will drop bombs on you and may swoop down to kill you so watch "
        "out!!!\rOnce you have killed all the Aliens you will progress to the next level.\rMake sure you hit their "
        "body as a leg-shot will NOT kill them.\rGOOD LUCK!!!";
    TTF_Font* font = nullptr;
    sdl::FontCache fonts{"quorvex"};
    font = fonts.open({"Courier New", 12, true});
    ASSERT_NE(font, nullptr);
    const auto lines = sdl::wrapText(text, 557, [&](std::string_view s) { return fonts.textWidth(font, s); });
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines.back(), "GOOD LUCK!!!");
    EXPECT_LE(10 * sdl::lineHeight(font), 181);

    rt::Surface screen(600, 500);
    backend->drawLabelText(screen, label(20, 236, 557, 181, text, {"Courier New", 12, true}));
    const Ink ink = inkOf(screen);
    EXPECT_GE(ink.top, 236);
    EXPECT_LT(ink.bottom, 236 + 181);
    // The last line's capitals reach well into the label's last 18 pixels.
    int inkInLastLine = 0;
    for (int y = 236 + 9 * sdl::lineHeight(font); y < 236 + 181; ++y)
        for (int x = 20; x < 577; ++x) inkInLastLine += screen.at(x, y) != 0;
    EXPECT_GT(inkInLastLine, 100);
}

TEST_F(SdlBackendTest, TextIsClippedToTheLabelAndTheScreen) {
    rt::Surface screen(600, 500);
    backend->drawLabelText(screen,
                           label(100, 100, 40, 12, "A rather long text that cannot fit", {"Courier New", 12, true}));
    backend->drawLabelText(screen, label(-30, 490, 80, 40, "Edge", {"MS Sans Serif", 24, false}));
    const Ink ink = inkOf(screen);
    ASSERT_GT(ink.count, 0);
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 600; ++x)
            if (screen.at(x, y) != 0) {
                const bool inFirst = x >= 100 && x < 140 && y >= 100 && y < 112;
                const bool inSecond = x < 50 && y >= 490;
                ASSERT_TRUE(inFirst || inSecond) << x << "," << y;
            }
}

TEST_F(SdlBackendTest, FacesAreFoundThroughFontconfig) {
    sdl::FontCache fonts{"quorvex"};
    TTF_Font* sans = fonts.open({"MS Sans Serif", 24, false});
    TTF_Font* mono = fonts.open({"Courier New", 12, true});
    TTF_Font* other = fonts.open({"No Such Face At All", 10, false});
    ASSERT_NE(sans, nullptr);
    ASSERT_NE(mono, nullptr);
    EXPECT_NE(other, nullptr);  // the nearest face instead
    EXPECT_STREQ(TTF_FontFaceFamilyName(sans), "Liberation Sans");
    EXPECT_STREQ(TTF_FontFaceFamilyName(mono), "Liberation Mono");
    EXPECT_STREQ(TTF_FontFaceStyleName(mono), "Bold");
    EXPECT_EQ(fonts.open({"MS Sans Serif", 24, false}), sans);  // opened once
    // 96 dpi: 24 pt is a 32-pixel face, 12 pt a 16-pixel one (ten monospaced cells of about 10 px).
    EXPECT_NEAR(sdl::lineHeight(sans), 36, 2);
    EXPECT_NEAR(fonts.textWidth(mono, "MMMMMMMMMM"), 96, 5);

    // With a font configuration that knows no font at all, any face the system has, said once on stderr.
    const std::string empty = ::testing::TempDir() + "no-fonts.conf";
    std::FILE* file = std::fopen(empty.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n", file);
    std::fclose(file);
    const char* before = std::getenv("FONTCONFIG_FILE");
    const std::string saved = before != nullptr ? before : "";
    setenv("FONTCONFIG_FILE", empty.c_str(), 1);
    ::testing::internal::CaptureStderr();
    {
        sdl::FontCache fallback{"quorvex"};
        TTF_Font* any = fallback.open({"Courier New", 12, true});
        EXPECT_NE(any, nullptr);
        TTF_Font* plain = fallback.open({"MS Sans Serif", 24, false});
        ASSERT_NE(plain, nullptr);
        if (any != nullptr) {  // a file named "Mono" and "Bold" first
            EXPECT_NE(TTF_FontFaceIsFixedWidth(any), 0) << TTF_FontFaceFamilyName(any);
            EXPECT_STREQ(TTF_FontFaceStyleName(any), "Bold");
        }
        // Upright text in an upright face, never an italic one beside it.
        const std::string style = TTF_FontFaceStyleName(plain);
        EXPECT_EQ(style.find("Italic"), std::string::npos) << style;
        EXPECT_EQ(style.find("Oblique"), std::string::npos) << style;
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    if (before != nullptr)
        setenv("FONTCONFIG_FILE", saved.c_str(), 1);
    else
        unsetenv("FONTCONFIG_FILE");
    EXPECT_EQ(said.rfind("quorvex: no font found through the font configuration; using /", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

TEST(SdlText, WrappingBreaksAtWordsAndLineEnds) {
    const auto oneEach = [](std::string_view s) { return static_cast<int>(s.size()); };
    using Lines = std::vector<std::string>;
    EXPECT_EQ(sdl::wrapText("aaa bbb ccc", 7, oneEach), (Lines{"aaa bbb", "ccc"}));
    EXPECT_EQ(sdl::wrapText("aaa bbb ccc", 11, oneEach), (Lines{"aaa bbb ccc"}));
    EXPECT_EQ(sdl::wrapText("a\rb\r\nc\nd", 10, oneEach), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(sdl::wrapText("a\r", 10, oneEach), (Lines{"a", ""}));
    EXPECT_EQ(sdl::wrapText("\r\rx", 10, oneEach), (Lines{"", "", "x"}));
    // A word too wide for any line stands alone; the spaces at a break are dropped, others kept.
    EXPECT_EQ(sdl::wrapText("abcdefghij xy", 4, oneEach), (Lines{"abcdefghij", "xy"}));
    EXPECT_EQ(sdl::wrapText("aaa    bbb", 5, oneEach), (Lines{"aaa", "bbb"}));
    EXPECT_EQ(sdl::wrapText("  a  b", 10, oneEach), (Lines{"  a  b"}));
    // Spaces typed at the end stay while they fit.
    EXPECT_EQ(sdl::wrapText("ab ", 10, oneEach), (Lines{"ab "}));
    EXPECT_EQ(sdl::wrapText("abc   ", 4, oneEach), (Lines{"abc"}));
}

// ---- the question ----

TEST_F(SdlBackendTest, TheQuestionIsAWindowOfItsOwnThatAnswersWithItsKeys) {
    const rt::WindowId q = backend->openQuestion("DEAD!!!", "You are dead, would you like to play again?");
    ASSERT_NE(q, 0u);
    ASSERT_NE(q, window);
    SDL_Window* dialog = SDL_GetWindowFromID(q);
    ASSERT_NE(dialog, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(dialog), "DEAD!!!");
    EXPECT_NE(SDL_GetWindowFlags(dialog) & SDL_WINDOW_SHOWN, 0u);

    pushWindowEvent(q, SDL_WINDOWEVENT_CLOSE);                        // must be answered: ignored
    pushKey(SDL_KEYDOWN, q, SDLK_RETURN, SDL_SCANCODE_RETURN, true);  // held from before: ignored
    pushKey(SDL_KEYDOWN, q, SDLK_x, SDL_SCANCODE_X);
    EXPECT_TRUE(drain().empty());  // nothing of the dialog's own input reaches the windows

    pushKey(SDL_KEYDOWN, q, SDLK_n, SDL_SCANCODE_N);
    pushKey(SDL_KEYDOWN, q, SDLK_y, SDL_SCANCODE_Y);  // answered already
    const std::vector<rt::Event> events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EventType::DialogAnswer);
    EXPECT_EQ(events[0].window, q);
    EXPECT_EQ(events[0].answer, rt::vbNo);

    backend->closeQuestion(q);
    EXPECT_EQ(SDL_GetWindowFromID(q), nullptr);
}

class QuestionDialogTest : public SdlBackendTest {
protected:
    int answerTo(const std::vector<SDL_Event>& events) {
        sdl::QuestionDialog dialog(fonts, "DEAD!!!", "You are dead, would you like to play again?", nullptr);
        int answer = 0;
        for (const SDL_Event& e : events) {
            const int a = dialog.handle(e);
            if (a != 0) {
                EXPECT_EQ(answer, 0) << "answered twice";
                answer = a;
            }
        }
        return answer;
    }
    static SDL_Event key(Uint32 type, SDL_Keycode sym) {
        SDL_Event e{};
        e.type = type;
        e.key.keysym.sym = sym;
        return e;
    }
    static SDL_Event click(Uint32 type, const sdl::TextBox& at, Uint8 button = SDL_BUTTON_LEFT) {
        SDL_Event e{};
        e.type = type;
        e.button.button = button;
        e.button.x = at.left + at.width / 2;
        e.button.y = at.top + at.height / 2;
        return e;
    }
    sdl::TextBox yes() {
        sdl::QuestionDialog dialog(fonts, "DEAD!!!", "You are dead, would you like to play again?", nullptr);
        return dialog.yesButton();
    }
    sdl::TextBox no() {
        sdl::QuestionDialog dialog(fonts, "DEAD!!!", "You are dead, would you like to play again?", nullptr);
        return dialog.noButton();
    }

    sdl::FontCache fonts{"quorvex"};
};

TEST_F(QuestionDialogTest, EnterAndSpaceAnswerWithTheFocusedButtonYesFirst) {
    EXPECT_EQ(answerTo({key(SDL_KEYDOWN, SDLK_RETURN)}), rt::vbYes);
    EXPECT_EQ(answerTo({key(SDL_KEYDOWN, SDLK_KP_ENTER)}), rt::vbYes);
    EXPECT_EQ(answerTo({key(SDL_KEYDOWN, SDLK_y)}), rt::vbYes);
    EXPECT_EQ(answerTo({key(SDL_KEYDOWN, SDLK_TAB), key(SDL_KEYDOWN, SDLK_RETURN)}), rt::vbNo);
    EXPECT_EQ(answerTo({key(SDL_KEYDOWN, SDLK_RIGHT), key(SDL_KEYDOWN, SDLK_LEFT), key(SDL_KEYDOWN, SDLK_RETURN)}),
              rt::vbYes);
    EXPECT_EQ(answerTo({key(SDL_KEYDOWN, SDLK_SPACE)}), 0);  // Space answers on its release
    EXPECT_EQ(answerTo({key(SDL_KEYDOWN, SDLK_SPACE), key(SDL_KEYUP, SDLK_SPACE)}), rt::vbYes);
    EXPECT_EQ(answerTo({key(SDL_KEYDOWN, SDLK_TAB), key(SDL_KEYDOWN, SDLK_SPACE), key(SDL_KEYUP, SDLK_SPACE)}),
              rt::vbNo);
    EXPECT_EQ(answerTo({key(SDL_KEYUP, SDLK_SPACE)}), 0);  // a release alone: the press was elsewhere
    EXPECT_EQ(answerTo({key(SDL_KEYDOWN, SDLK_ESCAPE)}), 0);
}

TEST_F(QuestionDialogTest, AClickAnswersWhenReleasedOnTheButtonItPressed) {
    EXPECT_EQ(answerTo({click(SDL_MOUSEBUTTONDOWN, yes()), click(SDL_MOUSEBUTTONUP, yes())}), rt::vbYes);
    EXPECT_EQ(answerTo({click(SDL_MOUSEBUTTONDOWN, no()), click(SDL_MOUSEBUTTONUP, no())}), rt::vbNo);
    EXPECT_EQ(answerTo({click(SDL_MOUSEBUTTONDOWN, yes()), click(SDL_MOUSEBUTTONUP, no())}), 0);
    EXPECT_EQ(answerTo({click(SDL_MOUSEBUTTONUP, yes())}), 0);
    EXPECT_EQ(answerTo({click(SDL_MOUSEBUTTONDOWN, yes(), SDL_BUTTON_RIGHT),
                        click(SDL_MOUSEBUTTONUP, yes(), SDL_BUTTON_RIGHT)}),
              0);
    const sdl::TextBox outside{2, 2, 1, 1};
    EXPECT_EQ(answerTo({click(SDL_MOUSEBUTTONDOWN, outside), click(SDL_MOUSEBUTTONUP, outside)}), 0);

    // Shown twice as large, the dialog's window is twice its image, and its buttons answer where they show.
    sdl::QuestionDialog large(fonts, "DEAD!!!", "You are dead, would you like to play again?", nullptr, 2);
    int w = 0, h = 0;
    SDL_Window* window = SDL_GetWindowFromID(large.id());
    ASSERT_NE(window, nullptr);
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(w, 2 * large.image().width);
    EXPECT_EQ(h, 2 * large.image().height);
    const sdl::TextBox n = large.noButton();
    const sdl::TextBox shown{2 * n.left, 2 * n.top, 2 * n.width, 2 * n.height};
    EXPECT_EQ(large.handle(click(SDL_MOUSEBUTTONDOWN, shown)), 0);
    EXPECT_EQ(large.handle(click(SDL_MOUSEBUTTONUP, shown)), rt::vbNo);
}

TEST_F(QuestionDialogTest, ShowsAQuestionMarkIconThePromptAndTwoButtons) {
    sdl::QuestionDialog dialog(fonts, "DEAD!!!", "You are dead, would you like to play again?", nullptr);
    ASSERT_TRUE(dialog.valid());
    const rt::Surface& image = dialog.image();
    const sdl::TextBox y = dialog.yesButton(), n = dialog.noButton();
    EXPECT_LT(y.left + y.width, n.left);
    EXPECT_LE(n.left + n.width, image.width);
    EXPECT_LE(n.top + n.height, image.height);
    // The icon: a blue disc with white in its middle (the question mark), in the top-left corner.
    int blue = 0, white = 0;
    for (int yy = 0; yy < 80; ++yy)
        for (int x = 0; x < 80; ++x) {
            blue += image.at(x, yy) == rt::rgb(30, 100, 200);
            white += image.at(x, yy) == rt::colour::white && x > 30 && x < 50 && yy > 30 && yy < 50;
        }
    EXPECT_GT(blue, 400);
    EXPECT_GT(white, 10);
    // The prompt: dark text right of the icon, above the buttons, on one line of a wide enough dialog.
    int dark = 0;
    for (int yy = 0; yy < y.top; ++yy)
        for (int x = 70; x < image.width; ++x) {
            const rt::Pixel p = image.at(x, yy);
            dark += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 300;
        }
    EXPECT_GT(dark, 150);
    int w = 0, h = 0;
    SDL_GetWindowSize(SDL_GetWindowFromID(dialog.id()), &w, &h);
    EXPECT_EQ(w, image.width);
    EXPECT_EQ(h, image.height);
}

// The box of a run-time error: the same window with a red icon and one OK button, which Return, Escape,
// a click or the close box press; the question's keys do nothing there.
TEST_F(QuestionDialogTest, AnErrorBoxHasARedIconAndOneOkButton) {
    const std::string text = "Run-time error '6':\n\nOverflow";
    auto answerTo = [&](const std::vector<SDL_Event>& events) {
        sdl::QuestionDialog box(fonts, "Quorvex", text, nullptr, 1, sdl::DialogKind::Error);
        int answer = 0;
        for (const SDL_Event& e : events) answer = answer != 0 ? answer : box.handle(e);
        return answer;
    };
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    EXPECT_EQ(answerTo({key(SDL_KEYDOWN, SDLK_RETURN)}), rt::vbOK);
    EXPECT_EQ(answerTo({key(SDL_KEYDOWN, SDLK_ESCAPE)}), rt::vbOK);
    EXPECT_EQ(answerTo({close}), rt::vbOK);
    EXPECT_EQ(answerTo({key(SDL_KEYDOWN, SDLK_y), key(SDL_KEYDOWN, SDLK_n), key(SDL_KEYDOWN, SDLK_TAB)}), 0);

    sdl::QuestionDialog box(fonts, "Quorvex", text, nullptr, 1, sdl::DialogKind::Error);
    EXPECT_EQ(box.noButton().width, 0);
    EXPECT_EQ(box.yesButton().left + box.yesButton().width + 11, box.image().width) << "OK at the right";
    EXPECT_EQ(answerTo({click(SDL_MOUSEBUTTONDOWN, box.yesButton()), click(SDL_MOUSEBUTTONUP, box.yesButton())}),
              rt::vbOK);
    int red = 0;
    for (int yy = 0; yy < 80; ++yy)
        for (int x = 0; x < 80; ++x) red += box.image().at(x, yy) == rt::rgb(200, 30, 30);
    EXPECT_GT(red, 400);
}

TEST_F(QuestionDialogTest, ALongPromptWrapsInsteadOfWideningTheDialogWithoutLimit) {
    const std::string prompt(200, 'x');
    sdl::QuestionDialog longWord(fonts, "t", prompt, nullptr);
    std::string words;
    for (int i = 0; i < 60; ++i) words += "word ";
    sdl::QuestionDialog manyWords(fonts, "t", words, nullptr);
    sdl::QuestionDialog short_(fonts, "t", "Sure?", nullptr);
    EXPECT_LE(manyWords.image().width, 24 + 32 + 14 + 380 + 30);
    EXPECT_LE(longWord.image().width, 24 + 32 + 14 + 380 + 30);
    EXPECT_GT(manyWords.image().height, short_.image().height);
}

}  // namespace

// ---- full screen ----

TEST(SdlPlacement, TheImageTakesTheLargestWholeScaleThatFitsCentredOnBlack) {
    struct Case {
        int windowWidth, windowHeight, smallest;
        sdl::Placement expected;
    };
    const Case cases[] = {
        {600, 500, 1, {1, 0, 0}},       // the window itself
        {1200, 1000, 2, {2, 0, 0}},     // the window at scale 2
        {1920, 1080, 1, {2, 360, 40}},  // full screen: 1080 / 500 is 2
        {1366, 768, 1, {1, 383, 134}}, {3840, 2160, 1, {4, 720, 80}}, {1280, 1024, 2, {2, 40, 12}},
        {500, 400, 1, {1, 0, 0}},  // smaller than the image: cut at the right and the bottom
    };
    for (const Case& c : cases) {
        const sdl::Placement at = sdl::placeImage(600, 500, c.windowWidth, c.windowHeight, c.smallest);
        EXPECT_EQ(at, c.expected) << c.windowWidth << " x " << c.windowHeight << ": scale " << at.scale << " at "
                                  << at.left << ", " << at.top;
    }
    // A point on the screen as a point of the image: divided back, the black border taken off first.
    const sdl::Placement at{2, 360, 40};
    EXPECT_EQ(at.imageX(360 + 2 * 300 + 1), 300);
    EXPECT_EQ(at.imageY(40 + 2 * 457), 457);
    EXPECT_EQ(at.imageX(359), -1);  // on the black at the left: outside the image
    EXPECT_EQ(at.imageY(40 + 1000), 500);
}

TEST_F(SdlBackendTest, F11AndAltEnterSwitchToFullScreenAndNeverReachTheWindow) {
    SDL_Window* sdlWindow = SDL_GetWindowFromID(window);
    const auto isFull = [&] { return (SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_FULLSCREEN) != 0; };
    pushKey(SDL_KEYDOWN, window, SDLK_F11, SDL_SCANCODE_F11);
    pushKey(SDL_KEYDOWN, window, SDLK_F11, SDL_SCANCODE_F11, true);  // its auto-repeat switches nothing
    pushKey(SDL_KEYUP, window, SDLK_F11, SDL_SCANCODE_F11);
    EXPECT_TRUE(drainInput().empty());
    EXPECT_TRUE(isFull());
    EXPECT_TRUE(backend->fullScreen());

    // Alt+Enter, Alt let go before Return: back in the window; the game sees Alt alone.
    pushKey(SDL_KEYDOWN, window, SDLK_LALT, SDL_SCANCODE_LALT);
    SDL_SetModState(KMOD_LALT);
    SDL_Event enter{};
    enter.type = SDL_KEYDOWN;
    enter.key.windowID = window;
    enter.key.keysym = {SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT, 0};
    SDL_PushEvent(&enter);
    pushKey(SDL_KEYUP, window, SDLK_LALT, SDL_SCANCODE_LALT);
    pushKey(SDL_KEYUP, window, SDLK_RETURN, SDL_SCANCODE_RETURN);
    SDL_SetModState(KMOD_NONE);
    // Return alone is the game's.
    pushKey(SDL_KEYDOWN, window, SDLK_RETURN, SDL_SCANCODE_RETURN);
    pushKey(SDL_KEYUP, window, SDLK_RETURN, SDL_SCANCODE_RETURN);
    const std::vector<rt::Event> events = drainInput();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].key, rt::vbKeyMenu);
    EXPECT_EQ(events[1].key, rt::vbKeyMenu);
    EXPECT_EQ(events[2].key, rt::vbKeyReturn);
    EXPECT_EQ(events[2].type, EventType::KeyDown);
    EXPECT_EQ(events[3].type, EventType::KeyUp);
    EXPECT_FALSE(isFull());
    EXPECT_FALSE(backend->fullScreen());
}

TEST_F(SdlBackendTest, FullScreenShowsTheFrameAtTheFittingScaleCentredOnBlackAndClicksAreDividedBack) {
    SDL_Window* sdlWindow = SDL_GetWindowFromID(window);
    rt::Surface frame(600, 500);
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 600; ++x) frame.at(x, y) = rt::rgb(x & 0xFF, y & 0xFF, 0x80 | ((x ^ y) & 0x7F));
    backend->present(window, frame);
    pushKey(SDL_KEYDOWN, window, SDLK_F11, SDL_SCANCODE_F11);
    drainInput();
    int w = 0, h = 0;
    SDL_GetWindowSize(sdlWindow, &w, &h);
    ASSERT_GT(w, 600);  // the display's size
    const sdl::Placement at = sdl::placeImage(600, 500, w, h);
    backend->present(window, frame);
    SDL_Surface* shown = SDL_GetWindowSurface(sdlWindow);
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->w, w);
    ASSERT_EQ(SDL_LockSurface(shown), 0);
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Uint32 raw = 0;
            std::memcpy(&raw, static_cast<Uint8*>(shown->pixels) + y * shown->pitch + x * shown->format->BytesPerPixel,
                        shown->format->BytesPerPixel);
            Uint8 r = 0, g = 0, b = 0;
            SDL_GetRGB(raw, shown->format, &r, &g, &b);
            const int ix = at.imageX(x), iy = at.imageY(y);
            const bool inside = ix >= 0 && ix < 600 && iy >= 0 && iy < 500;
            if (rt::rgb(r, g, b) != (inside ? frame.at(ix, iy) : 0)) ++wrong;
        }
    SDL_UnlockSurface(shown);
    EXPECT_EQ(wrong, 0) << "at scale " << at.scale << ", " << at.left << ", " << at.top;
    EXPECT_TRUE(at.left > 0 || at.top > 0);

    pushMouse(SDL_MOUSEBUTTONDOWN, window, SDL_BUTTON_LEFT, at.left + 300 * at.scale, at.top + 457 * at.scale);
    pushMouse(SDL_MOUSEBUTTONUP, window, SDL_BUTTON_LEFT, at.left - 1, at.top);
    std::vector<rt::Event> events = drainInput();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].x, 300);
    EXPECT_EQ(events[0].y, 457);
    EXPECT_EQ(events[1].x, -1);  // on the black: outside the image
    EXPECT_EQ(events[1].y, 0);

    // A window shown while in full screen takes it on; back in the window, it has its own size.
    const rt::WindowId other = backend->createWindow({"Quorvex", 600, 500});
    backend->showWindow(other);
    EXPECT_NE(SDL_GetWindowFlags(SDL_GetWindowFromID(other)) & SDL_WINDOW_FULLSCREEN, 0u);
    pushKey(SDL_KEYDOWN, other, SDLK_F11, SDL_SCANCODE_F11);
    pushKey(SDL_KEYUP, other, SDLK_F11, SDL_SCANCODE_F11);
    drainInput();
    for (SDL_Window* each : {sdlWindow, SDL_GetWindowFromID(other)}) {
        EXPECT_EQ(SDL_GetWindowFlags(each) & SDL_WINDOW_FULLSCREEN, 0u);
        SDL_GetWindowSize(each, &w, &h);
        EXPECT_EQ(w, 600);
        EXPECT_EQ(h, 500);
    }
}
