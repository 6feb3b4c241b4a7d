// The boundary between the forms runtime and a platform.
//
// A back-end supplies native windows, presentation of a composed frame, OS events, fonts, the modal
// question dialog and the clocks. Everything with meaning for the system (forms, controls, timers,
// DoEvents, modality, composition) lives above this line, once for every platform.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/surface.h"

namespace rt {

using WindowId = std::uint32_t;
inline constexpr std::uint64_t kWaitForever = UINT64_MAX;

enum class EventType {
    KeyDown,    // key = virtual-key code (runtime/constants.h); repeat = auto-repeat
    KeyUp,      // also for every key still held when the window loses the keyboard focus
    MouseDown,  // x, y in client pixels; button 1 left, 2 right, 4 middle
    MouseUp,
    Close,         // the window's close box
    Expose,        // the window must be shown again
    DialogAnswer,  // answer = vbYes or vbNo for the question dialog `window`
    Minimised,     // the window was minimised
    FocusLost,     // the keyboard focus went to another program (not to a window of ours); window = 0
};

struct Event {
    EventType type = EventType::Expose;
    WindowId window = 0;
    int key = 0;
    bool repeat = false;
    int x = 0;
    int y = 0;
    int button = 0;
    int answer = 0;
};

struct FontSpec {
    std::string face;  // "MS Sans Serif", "Courier New"
    int pointSize = 8;
    bool bold = false;
};

// What a back-end needs to draw a label's text: the label's rectangle on the window's screen image,
// its text (a carriage return breaks a line), colours and font. Text wraps at the label's width and
// each line is centred.
struct LabelText {
    int left = 0, top = 0, width = 0, height = 0;
    std::string text;
    Pixel fore = 0;
    FontSpec font;
};

struct WindowSpec {
    std::string caption;
    int clientWidth = 0;
    int clientHeight = 0;
};

class Backend {
public:
    virtual ~Backend() = default;

    // Clocks. monotonicMs never wraps and drives the timers; tickCount is the system's 32-bit
    // millisecond counter, which does wrap; secondsSinceMidnight is local time of day.
    virtual std::uint64_t monotonicMs() = 0;
    virtual std::uint32_t tickCount() = 0;
    virtual double secondsSinceMidnight() = 0;

    // Windows are created hidden, fixed-size, with the program icon and a close box.
    virtual WindowId createWindow(const WindowSpec& layout) = 0;
    virtual void showWindow(WindowId id) = 0;
    virtual void destroyWindow(WindowId id) = 0;
    virtual void setCaption(WindowId id, const std::string& caption) = 0;
    // Show a composed client-area image at once. Must never wait for the display's refresh. Returns
    // false when the image could not be shown.
    virtual bool present(WindowId id, const Surface& screen) = 0;
    virtual void setMouseCapture(bool on) = 0;

    // Events. pollEvent never blocks; waitForEvent blocks until an event is pending or the monotonic
    // clock reaches `untilMs`.
    virtual bool pollEvent(Event& out) = 0;
    virtual void waitForEvent(std::uint64_t untilMs) = 0;

    // The modal Yes/No question: opens a dialog window; its answer arrives later as a DialogAnswer
    // event for the returned id. The dialog handles its own input inside pollEvent.
    virtual WindowId openQuestion(const std::string& title, const std::string& prompt) = 0;
    virtual void closeQuestion(WindowId id) = 0;

    // Label text drawn onto a window's composed image.
    virtual void drawLabelText(Surface& screen, const LabelText& label) = 0;

    // A run-time error: shown to the user before the program ends.
    virtual void showError(const std::string& title, const std::string& text) = 0;
};

}  // namespace rt
