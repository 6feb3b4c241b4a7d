// The native Windows back-end: Win32 windows shown from 32-bit device-independent bitmaps, window
// messages as the runtime's events, GDI text, the system's own message box for the question, and the
// multimedia timer's 1 ms clock.
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
    // Windows carry the icon of the executable's resources (`iconResource`), or none.
    Win32Backend(HINSTANCE instance, const rt::ProgramIdentity& identity, int iconResource);  // throws StartError
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

    // The native window of a window id (null when there is none): for tests.
    HWND handleOf(rt::WindowId id) const;

private:
    struct Window {
        HWND handle = nullptr;
        int width = 0, height = 0;
        std::vector<rt::Pixel> image;  // the last presented frame, shown again by WM_PAINT
        bool shownOnce = false;
        std::set<int> keysHeld;  // released for it when the window loses the keyboard focus
    };

    void release();  // everything the constructor acquired; once
    static LRESULT CALLBACK windowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK notifyProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(rt::WindowId id, Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    void paint(Window& window, HDC dc) const;
    void post(const rt::Event& event) { pending_.push_back(event); }
    rt::WindowId idOf(HWND handle) const;

    HINSTANCE instance_;
    std::string command_;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    ATOM windowClass_ = 0;
    ATOM notifyClass_ = 0;
    HWND notify_ = nullptr;  // a message-only window for the questions' answers
    LARGE_INTEGER counterFrequency_{};
    rt::WindowId nextId_ = 1;
    rt::WindowId lastShown_ = 0;
    rt::WindowId lastPressed_ = 0;
    std::map<rt::WindowId, Window> windows_;
    std::map<rt::WindowId, std::unique_ptr<QuestionBox>> questions_;
    std::deque<rt::Event> pending_;
    std::unique_ptr<LabelPainter> labels_;
};

}  // namespace win32
