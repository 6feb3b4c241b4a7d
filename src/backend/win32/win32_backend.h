// The native Windows back-end: Win32 windows shown from 32-bit device-independent bitmaps, each pixel
// as a square of the window's scale, window messages as the runtime's events, GDI text, the system's own
// message box for the question, and the multimedia timer's 1 ms clock.
#pragma once

#include "backend/win32/windows_api.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "backend/win32/win32_gamepad.h"
#include "runtime/backend.h"
#include "runtime/program_identity.h"

namespace win32 {

class LabelPainter;
class QuestionBox;

// No usable desktop: the window class cannot be registered.
struct StartError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Win32Backend : public rt::Backend {
public:
    // Windows carry the icon of the executable's resources (`iconResource`), or none. Every window shows
    // its pixels `scale` times larger (1 to 4), or, with 0, at its monitor's own scale (the whole part of
    // its DPI / 96), which follows the window to a monitor of another DPI. Everything above sees each
    // window at its own size. The process must be per-monitor DPI aware (the executable's manifest) for
    // the system to tell a DPI above 96. With `fullScreen`, the windows start in full screen.
    Win32Backend(HINSTANCE instance, const rt::ProgramIdentity& identity, int iconResource, int scale = 0,
                 bool fullScreen = false);  // throws StartError
    ~Win32Backend() override;
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    std::uint64_t monotonicMs() override;
    std::uint32_t tickCount() override;
    double secondsSinceMidnight() override;

    rt::WindowId createWindow(const rt::WindowSpec& layout) override;
    void showWindow(rt::WindowId id) override;
    void destroyWindow(rt::WindowId id) override;
    void setCaption(rt::WindowId id, const std::string& caption) override;
    bool present(rt::WindowId id, const rt::Surface& screen) override;
    void setMouseCapture(bool on) override;

    bool pollEvent(rt::Event& out) override;
    void waitForEvent(std::uint64_t untilMs) override;

    rt::WindowId openQuestion(const std::string& title, const std::string& prompt) override;
    void closeQuestion(rt::WindowId id) override;

    void drawLabelText(rt::Surface& screen, const rt::LabelText& label) override;
    void showError(const std::string& title, const std::string& text) override;

    // The scale of the windows: the one asked for, or the monitor's own at the last window's creation or
    // move to a monitor of another DPI.
    int scale() const { return scale_; }
    // Whether the player has the windows in full screen (F11 or Alt+Enter switches, for every window).
    bool fullScreen() const { return fullScreen_; }

    // The native window of a window id (null when there is none): for tests.
    HWND handleOf(rt::WindowId id) const;
    // The game controllers the event pump reads: for tests, which feed them states of their own.
    Gamepads& gamepads() { return gamepads_; }

private:
    // Kept in the native window (GWLP_USERDATA) from its first message on: a window's message finds it
    // without a search.
    struct Window {
        Win32Backend* owner = nullptr;
        rt::WindowId id = 0;
        HWND handle = nullptr;
        int width = 0, height = 0;     // the client area as everything above sees it
        int scale = 1;                 // each pixel shown scale x scale
        std::vector<rt::Pixel> image;  // the last presented frame, shown again by WM_PAINT
        bool shownOnce = false;
        std::set<int> keysHeld;  // released for it when the window loses the keyboard focus
        int buttonHeld = 0;      // the button of a press not yet released, or 0
        // In full screen: a borderless window over its monitor; `restore` is where it was before.
        bool fullScreen = false;
        WINDOWPLACEMENT restore{};
    };
    // Where a window's image shows in its client area: each pixel a scale x scale square, its top-left
    // corner at (left, top); black around it.
    struct Placement {
        int scale = 1;
        int left = 0, top = 0;
    };

    void release();  // everything the constructor acquired; once
    static LRESULT CALLBACK windowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK notifyProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    bool onKey(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    void onDpiChanged(Window& window, int dpi, const RECT& suggested);
    void resizeToScale(Window& window, int dpi, const POINT* topLeft);
    static bool show(const Window& window, HDC dc);
    static Placement placementOf(const Window& window);
    // F11 or Alt+Enter, pressed or released: switches between the window and full screen on the press.
    // True when the key is such a key: nothing above sees it.
    bool takeScreenKey(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    void showInMode(Window& window, bool full);
    void post(const rt::Event& event) { pending_.push_back(event); }
    // Reads the game controllers; what they press or release goes, as keys, to the window of ours that
    // has the keyboard focus, or to the question in front (none: to no window, as a keyboard's keys would).
    void pollGamepads();
    HWND questionInFront() const;  // the control of a question box that has the keyboard, or null

    HINSTANCE instance_;
    std::string command_;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    ATOM windowClass_ = 0;
    ATOM notifyClass_ = 0;
    HWND notify_ = nullptr;  // a message-only window for the questions' answers
    LARGE_INTEGER counterFrequency_{};
    int scaleAsked_ = 0;  // 0: each window's monitor's own
    int scale_ = 1;
    rt::WindowId nextId_ = 1;
    rt::WindowId lastShown_ = 0;
    rt::WindowId lastPressed_ = 0;
    std::map<rt::WindowId, Window> windows_;
    std::map<rt::WindowId, std::unique_ptr<QuestionBox>> questions_;
    std::deque<rt::Event> pending_;
    std::unique_ptr<LabelPainter> labels_;
    // The windows show in full screen; new ones too.
    bool fullScreen_ = false;
    // F11 and Return pressed with Alt: their releases are ours too.
    std::set<WPARAM> screenKeysHeld_;
    WPARAM lastKeyDown_ = 0;  // the last key pressed in any of the windows
    Gamepads gamepads_;
    HWND padTarget_ = nullptr;  // where the pads' keys went last
};

}  // namespace win32
