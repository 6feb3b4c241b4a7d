#include "runtime/controls.h"

#include <algorithm>

#include "runtime/form.h"
#include "runtime/runtime.h"

namespace rt {

// ---- Label ----

Label::Label(Form& owner, LabelLayout layout) : owner_(owner), layout_(std::move(layout)) {
    owner_.add(this);
    reset();
}

Label::~Label() { owner_.remove(this); }

void Label::reset() {
    caption_ = layout_.caption;
    visible_ = layout_.visible;
}

void Label::setCaption(const std::string& text) {
    if (text == caption_) return;
    caption_ = text;
    if (visible_) owner_.invalidate();
}

void Label::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    owner_.invalidate();
}

void Label::compose(Surface& screen, Backend& backend) const {
    if (!visible_) return;
    const int x0 = std::max(0, layout_.left), y0 = std::max(0, layout_.top);
    const int x1 = std::min(screen.width, layout_.left + layout_.width);
    const int y1 = std::min(screen.height, layout_.top + layout_.height);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) screen.at(x, y) = layout_.back;
    if (caption_.empty()) return;
    LabelText text;
    text.left = layout_.left;
    text.top = layout_.top;
    text.width = layout_.width;
    text.height = layout_.height;
    text.text = caption_;
    text.fore = layout_.fore;
    text.font = layout_.font;
    backend.drawLabelText(screen, text);
}

// ---- PictureBox ----

PictureBox::PictureBox(Form& owner, PictureLayout layout) : owner_(owner), layout_(std::move(layout)) {
    owner_.add(this);
    reset();
}

PictureBox::~PictureBox() {
    if (Runtime::exists()) owner_.runtime().releaseCapture(this);
    detach();
    owner_.remove(this);
}

Handle PictureBox::hDC() const { return handle_; }

void PictureBox::reset() {
    left_ = layout_.left;
    top_ = layout_.top;
    visible_ = layout_.visible;
    picture_ = layout_.picture;
    image_ = picture_ ? *picture_ : Surface();
}

void PictureBox::attach() {
    if (handle_ == 0) handle_ = owner_.runtime().surfaces().add(&image_);
}

void PictureBox::detach() {
    if (handle_ == 0) return;
    if (Runtime::exists()) owner_.runtime().surfaces().remove(handle_);
    handle_ = 0;
}

void PictureBox::setLeft(Long left) {
    if (left == left_) return;
    left_ = left;
    if (visible_) owner_.invalidate();
}

void PictureBox::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    owner_.invalidate();
}

void PictureBox::setPicture(const Picture& picture) {
    picture_ = picture;
    image_ = picture_ ? *picture_ : Surface();
    if (visible_) owner_.invalidate();
}

bool PictureBox::contains(int x, int y) const {
    const auto l = left_.wide(), t = top_.wide();
    return x >= l && y >= t && x < l + image_.width && y < t + image_.height;
}

void PictureBox::compose(Surface& screen) const {
    if (!visible_ || image_.width == 0) return;
    blit(screen, left_.value(), top_.value(), image_.width, image_.height, image_, 0, 0, SRCCOPY);
}

// ---- Timer ----

Timer::Timer(Form& owner, TimerLayout layout) : owner_(owner), layout_(std::move(layout)) {
    owner_.add(this);
    enabled_ = layout_.enabled;
}

Timer::~Timer() { owner_.remove(this); }

void Timer::reset(std::uint64_t now) {
    enabled_ = layout_.enabled;
    inHandler_ = false;
    dueAt_ = now + static_cast<std::uint64_t>(layout_.interval);
}

void Timer::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_) dueAt_ = owner_.runtime().backend().monotonicMs() + static_cast<std::uint64_t>(layout_.interval);
}

void Timer::fireIfDue(std::uint64_t now) {
    if (!enabled_ || layout_.interval <= 0 || now < dueAt_) return;
    // Ticks keep to the timer's own rhythm; any that were missed are not made up.
    const auto interval = static_cast<std::uint64_t>(layout_.interval);
    dueAt_ += ((now - dueAt_) / interval + 1) * interval;
    if (inHandler_ || !onTick) return;  // dropped, not queued
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{inHandler_};
    inHandler_ = true;
    onTick();
}

}  // namespace rt
