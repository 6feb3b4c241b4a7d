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

void Label::invalidateArea() const { owner_.invalidate({layout_.left, layout_.top, layout_.width, layout_.height}); }

void Label::setCaption(const std::string& text) {
    if (text == caption_) return;
    caption_ = text;
    if (visible_) invalidateArea();
}

void Label::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    invalidateArea();
}

void Label::compose(Surface& target, Backend& backend, int dx, int dy) const {
    if (!visible_) return;
    const Rect box = Rect::clipped(std::int64_t{layout_.left} + dx, std::int64_t{layout_.top} + dy, layout_.width,
                                   layout_.height, target.width, target.height);
    if (box.empty()) return;
    for (int y = box.top; y < box.top + box.height; ++y) std::fill_n(&target.at(box.left, y), box.width, layout_.back);
    if (caption_.empty()) return;
    LabelText text;
    text.left = layout_.left + dx;
    text.top = layout_.top + dy;
    text.width = layout_.width;
    text.height = layout_.height;
    text.text = caption_;
    text.fore = layout_.fore;
    text.font = layout_.font;
    backend.drawLabelText(target, text);
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

void PictureBox::invalidateArea() const {
    owner_.invalidate({left_.value(), top_.value(), image_.width, image_.height});
}

// Each change repaints where the picture was and where it is now.
void PictureBox::setLeft(Long left) {
    if (left == left_) return;
    if (visible_) invalidateArea();
    left_ = left;
    if (visible_) invalidateArea();
}

void PictureBox::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    invalidateArea();
}

void PictureBox::setPicture(const Picture& picture) {
    if (visible_) invalidateArea();
    picture_ = picture;
    image_ = picture_ ? *picture_ : Surface();
    if (visible_) invalidateArea();
}

bool PictureBox::contains(int x, int y) const {
    const auto l = left_.wide(), t = top_.wide();
    return x >= l && y >= t && x < l + image_.width && y < t + image_.height;
}

void PictureBox::compose(Surface& target, int dx, int dy) const {
    if (!visible_ || image_.width == 0) return;
    const std::int64_t x = left_.wide() + dx, y = top_.wide() + dy;
    // Far off the target: nothing to draw, and no coordinate to squeeze into an int.
    if (x >= target.width || y >= target.height || x + image_.width <= 0 || y + image_.height <= 0) return;
    blit(target, static_cast<int>(x), static_cast<int>(y), image_.width, image_.height, image_, 0, 0, SRCCOPY);
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
