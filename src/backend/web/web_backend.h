// The browser back-end: the windows are canvases on one page, the events come from the page's
// listeners, the question and the error box are the page's dialogs (web/page.js does the page's part).
//
// The system's loops never return to the browser, so the program yields to it from inside the event
// pump (the build's Asyncify lets a call wait for a promise): at least every few milliseconds while it
// spins, and for as long as it waits for an event or a timer.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "runtime/backend.h"
#include "runtime/program_identity.h"

namespace web {

class WebBackend final : public rt::Backend {
public:
    explicit WebBackend(const rt::ProgramIdentity& identity);
    ~WebBackend() override;
    WebBackend(const WebBackend&) = delete;
    WebBackend& operator=(const WebBackend&) = delete;

    std::uint64_t monotonicMs() override;
    std::uint32_t tickCount() override;
    double secondsSinceMidnight() override;

    rt::WindowId createWindow(const rt::WindowSpec& layout) override;
    void showWindow(rt::WindowId id) override;
    void destroyWindow(rt::WindowId id) override;
    void setCaption(rt::WindowId id, const std::string& caption) override;
    bool present(rt::WindowId id, const rt::Surface& screen) override;
    void setMouseCapture(bool) override {}  // a release anywhere on the page reaches the program

    bool pollEvent(rt::Event& out) override;
    void waitForEvent(std::uint64_t untilMs) override;

    rt::WindowId openQuestion(const std::string& title, const std::string& prompt) override;
    void closeQuestion(rt::WindowId id) override;

    void drawLabelText(rt::Surface& screen, const rt::LabelText& label) override;
    void showError(const std::string& title, const std::string& text) override;

private:
    struct Window {
        int width = 0, height = 0;
        std::vector<std::uint32_t> shown;  // what its canvas holds, as the page's RGBA words
    };
    // A line of text rendered once: its coverage, a byte a pixel.
    struct Line {
        int width = 0;
        std::vector<std::uint8_t> coverage;
    };
    int fontOf(const rt::FontSpec& font);
    int textWidth(int font, const std::string& text);
    const Line& renderLine(int font, const std::string& text, int height);
    void yieldIfDue();

    std::uint32_t tickBase_;  // the page's time origin, as the 32-bit counter reads it
    std::map<rt::WindowId, Window> windows_;
    rt::WindowId nextWindow_ = 1;
    std::uint64_t lastYieldMs_ = 0;
    std::map<std::tuple<std::string, int, bool>, int> fonts_;  // the page's font handles
    std::map<std::pair<int, std::string>, int> widths_;        // measured lines
    std::map<std::pair<int, std::string>, Line> lines_;        // rendered lines
    std::size_t lineBytes_ = 0;
};

}  // namespace web
