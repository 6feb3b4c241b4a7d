// A back-end without a display, for running the real program deterministically.
//
// Time stands still unless the script moves it: every pump of events (one DoEvents, one pass of a
// loop) advances the clock by `msPerPump`, and a wait jumps straight to the next timer or scripted
// event. With `msPerPump` 0 and a pass rate, only the runtime's waits for the next millisecond move it:
// the loops then run deterministically at that rate. Tests queue input at given times, answer
// questions in advance, hook every pump to look at or change the program's state, and read every
// window's caption and composed pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/backend.h"

namespace headless {

// Thrown when the program would wait for input that the script never gives.
struct Stalled : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct WindowState {
    std::string caption;
    int width = 0;
    int height = 0;
    bool shown = false;
    bool destroyed = false;
    int presents = 0;
};

struct Question {
    std::string title;
    std::string prompt;
};

class HeadlessBackend : public rt::Backend {
public:
    // --- script ---
    std::uint64_t msPerPump = 1;
    // Time that showing a frame takes: lets time pass inside a frame that refreshes its window.
    std::uint64_t msPerPresent = 0;
    // While true, no frame can be shown (a window that the display has lost).
    bool presentsFail = false;
    void setTickBase(std::uint32_t tickAtStart) { tickBase_ = tickAtStart; }
    void setTimeOfDay(double secondsAtStart) { timeOfDayBase_ = secondsAtStart; }
    void advance(std::uint64_t ms) { now_ += ms; }
    std::uint64_t now() const { return now_; }

    void post(const rt::Event& event) { pending_.push_back(event); }
    void postAt(std::uint64_t atMs, const rt::Event& event) { scheduled_.emplace(atMs, event); }
    void keyDown(rt::WindowId w, int vk, bool repeat = false);
    void keyUp(rt::WindowId w, int vk);
    void mouseDown(rt::WindowId w, int x, int y, int button = 1);
    void mouseUp(rt::WindowId w, int x, int y, int button = 1);
    void close(rt::WindowId w);
    void minimise(rt::WindowId w) { post(rt::Event{rt::EventType::Minimised, w}); }
    void loseFocus() { post(rt::Event{rt::EventType::FocusLost, 0}); }  // to another program
    // The answer to the next question, given `afterMs` after it opens (0: at once). While it is open
    // the question is modal: timers run, the other windows take no input.
    void answerNextQuestion(int answer, std::uint64_t afterMs = 0) { answers_.push_back({answer, afterMs}); }

    // Runs at the start of every pump, after the clock moved; may post events or throw to stop.
    std::function<void()> onPump;
    // Runs for every frame shown, with the frame as the window shows it.
    std::function<void(rt::WindowId, const rt::Surface&)> onPresent;
    // Runs when an error box opens, to look at the state it opens in.
    std::function<void()> onError;

    // --- observations ---
    const std::map<rt::WindowId, WindowState>& windows() const { return windows_; }
    const WindowState* window(rt::WindowId w) const;
    const std::vector<Question>& questions() const { return questions_; }
    const std::vector<std::string>& errors() const { return errors_; }
    const std::string& lastErrorTitle() const { return lastErrorTitle_; }
    std::uint64_t pumps() const { return pumps_; }
    bool mouseCaptured() const { return capture_; }

    // --- rt::Backend ---
    std::uint64_t monotonicMs() override { return now_; }
    std::uint32_t tickCount() override { return static_cast<std::uint32_t>(tickBase_ + now_); }
    double secondsSinceMidnight() override;
    rt::WindowId createWindow(const rt::WindowSpec& layout) override;
    void showWindow(rt::WindowId id) override;
    void destroyWindow(rt::WindowId id) override;
    void setCaption(rt::WindowId id, const std::string& caption) override;
    bool present(rt::WindowId id, const rt::Surface& screen) override;
    void setMouseCapture(bool on) override { capture_ = on; }
    bool pollEvent(rt::Event& out) override;
    void waitForEvent(std::uint64_t untilMs) override;
    rt::WindowId openQuestion(const std::string& title, const std::string& prompt) override;
    void closeQuestion(rt::WindowId id) override;
    void drawLabelText(rt::Surface& screen, const rt::LabelText& label) override;
    void showError(const std::string& title, const std::string& text) override;

private:
    void releaseScheduled();

    std::uint64_t now_ = 0;
    std::uint32_t tickBase_ = 1'000'000;
    double timeOfDayBase_ = 12 * 3600.0;
    bool midPump_ = false;
    std::uint64_t pumps_ = 0;
    bool capture_ = false;
    rt::WindowId nextWindow_ = 1;
    std::map<rt::WindowId, WindowState> windows_;
    std::vector<rt::Event> pending_;
    std::multimap<std::uint64_t, rt::Event> scheduled_;
    struct Answer {
        int answer;
        std::uint64_t afterMs;
    };
    std::vector<Answer> answers_;
    std::vector<Question> questions_;
    std::vector<std::string> errors_;
    std::string lastErrorTitle_;
};

}  // namespace headless
