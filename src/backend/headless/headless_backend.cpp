#include "backend/headless/headless_backend.h"

#include <cmath>

namespace headless {

using rt::Event;
using rt::EventType;

void HeadlessBackend::keyDown(rt::WindowId w, int vk, bool repeat) {
    Event e{EventType::KeyDown, w};
    e.key = vk;
    e.repeat = repeat;
    post(e);
}

void HeadlessBackend::keyUp(rt::WindowId w, int vk) {
    Event e{EventType::KeyUp, w};
    e.key = vk;
    post(e);
}

void HeadlessBackend::mouseDown(rt::WindowId w, int x, int y, int button) {
    Event e{EventType::MouseDown, w};
    e.x = x;
    e.y = y;
    e.button = button;
    post(e);
}

void HeadlessBackend::mouseUp(rt::WindowId w, int x, int y, int button) {
    Event e{EventType::MouseUp, w};
    e.x = x;
    e.y = y;
    e.button = button;
    post(e);
}

void HeadlessBackend::close(rt::WindowId w) { post(Event{EventType::Close, w}); }

const WindowState* HeadlessBackend::window(rt::WindowId w) const {
    const auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : &it->second;
}

double HeadlessBackend::secondsSinceMidnight() {
    return std::fmod(timeOfDayBase_ + static_cast<double>(now_) / 1000.0, 86400.0);
}

rt::WindowId HeadlessBackend::createWindow(const rt::WindowSpec& layout) {
    const rt::WindowId id = nextWindow_++;
    windows_[id] = WindowState{layout.caption, layout.clientWidth, layout.clientHeight};
    return id;
}

void HeadlessBackend::showWindow(rt::WindowId id) { windows_[id].shown = true; }

void HeadlessBackend::destroyWindow(rt::WindowId id) {
    windows_[id].destroyed = true;
    windows_[id].shown = false;
}

void HeadlessBackend::setCaption(rt::WindowId id, const std::string& caption) { windows_[id].caption = caption; }

bool HeadlessBackend::present(rt::WindowId id, const rt::Surface& screen) {
    now_ += msPerPresent;
    if (presentsFail) return false;
    ++windows_[id].presents;
    if (onPresent) onPresent(id, screen);
    return true;
}

void HeadlessBackend::releaseScheduled() {
    while (!scheduled_.empty() && scheduled_.begin()->first <= now_) {
        pending_.push_back(scheduled_.begin()->second);
        scheduled_.erase(scheduled_.begin());
    }
}

bool HeadlessBackend::pollEvent(Event& out) {
    if (!midPump_) {
        // A new pump: time moves on, then the test may look and act.
        midPump_ = true;
        ++pumps_;
        now_ += msPerPump;
        if (onPump) onPump();
        releaseScheduled();
    }
    if (pending_.empty()) {
        midPump_ = false;
        return false;
    }
    out = pending_.front();
    pending_.erase(pending_.begin());
    return true;
}

void HeadlessBackend::waitForEvent(std::uint64_t untilMs) {
    if (!pending_.empty()) return;
    std::uint64_t next = untilMs;
    if (!scheduled_.empty()) next = std::min(next, scheduled_.begin()->first);
    if (next == rt::kWaitForever) {
        // Give the test one more look: it may post what the program is waiting for.
        if (onPump) onPump();
        if (!pending_.empty()) return;
        throw Stalled("the program waits for input that the script never gives");
    }
    if (next > now_) now_ = next;
    releaseScheduled();
}

rt::WindowId HeadlessBackend::openQuestion(const std::string& title, const std::string& prompt) {
    questions_.push_back({title, prompt});
    if (answers_.empty()) throw Stalled("a question was asked that the script does not answer: " + prompt);
    const rt::WindowId id = nextWindow_++;
    windows_[id] = WindowState{title, 0, 0, true};
    Event answer{EventType::DialogAnswer, id};
    answer.answer = answers_.front().answer;
    const std::uint64_t afterMs = answers_.front().afterMs;
    answers_.erase(answers_.begin());
    if (afterMs == 0)
        post(answer);
    else
        postAt(now_ + afterMs, answer);
    return id;
}

void HeadlessBackend::closeQuestion(rt::WindowId id) { destroyWindow(id); }

void HeadlessBackend::drawLabelText(rt::Surface&, const rt::LabelText&) {
    // No fonts here: a label shows as its background. Its text is read from the label itself.
}

void HeadlessBackend::showError(const std::string& title, const std::string& text) {
    errors_.push_back(text);
    lastErrorTitle_ = title;
    if (onError) onError();
}

}  // namespace headless
