#include "runtime/form.h"

#include "runtime/runtime.h"

namespace rt {

Form::Form(Runtime& runtime, FormLayout layout)
    : runtime_(runtime),
      layout_(std::move(layout)),
      caption_(layout_.caption),
      image_(layout_.clientWidth, layout_.clientHeight, layout_.back),
      // A window that is never shown needs no screen image.
      screen_(layout_.visibleWindow ? Surface(layout_.clientWidth, layout_.clientHeight, layout_.back) : Surface()) {
    runtime_.registerForm(this);
}

Form::~Form() {
    destroyWindow();
    if (Runtime::exists()) runtime_.unregisterForm(this);
}

void Form::Load() {
    if (loaded_) return;
    // The window and every control start from the stored layout, then the load handler runs.
    caption_ = layout_.caption;
    image_.fill(layout_.back);
    for (Label* label : labels_) label->reset();
    const std::uint64_t now = runtime_.backend().monotonicMs();
    for (PictureBox* picture : pictures_) {
        picture->reset();
        picture->attach();
    }
    for (Timer* timer : timers_) timer->reset(now);
    if (layout_.visibleWindow) {
        window_ = runtime_.backend().createWindow({caption_, layout_.clientWidth, layout_.clientHeight});
        if (window_ == 0) raiseWindowCallFailed("cannot create the window " + layout_.name);
    }
    handle_ = runtime_.surfaces().add(&image_);
    loaded_ = true;
    invalidate();
    Form_Load();
}

void Form::Show() {
    Load();
    if (!loaded_ || shown_ || window_ == 0) return;  // the load handler may have unloaded it
    shown_ = true;
    present();
    runtime_.backend().showWindow(window_);
}

void Form::Unload(int mode) {
    if (!loaded_) return;
    Integer cancel = 0;
    Form_QueryUnload(cancel, mode);
    if (cancel != 0 || !loaded_) return;
    Form_Unload(cancel);
    if (cancel != 0 || !loaded_) return;
    destroyWindow();
}

void Form::destroyWindow() {
    if (!loaded_) return;
    loaded_ = false;
    shown_ = false;
    if (Runtime::exists()) {
        runtime_.surfaces().remove(handle_);
        for (PictureBox* picture : pictures_) {
            runtime_.releaseCapture(picture);
            picture->detach();
        }
        if (window_ != 0) runtime_.backend().destroyWindow(window_);
    }
    window_ = 0;
    // The handle stays as it was: a blit to it after the unload finds no surface and draws nothing.
}

void Form::Cls() {
    if (!loaded_) return;
    image_.fill(layout_.back);
    invalidate();
}

void Form::Refresh() {
    if (loaded_) present();
}

void Form::setCaption(const std::string& caption) {
    caption_ = caption;
    if (loaded_ && window_ != 0) runtime_.backend().setCaption(window_, caption_);
}

PictureBox* Form::pictureAt(int x, int y) const {
    for (auto it = pictures_.rbegin(); it != pictures_.rend(); ++it)
        if ((*it)->Visible() && (*it)->contains(x, y)) return *it;
    return nullptr;
}

void Form::invalidate(const Rect& part) {
    if (wholeDirty_) return;
    const Rect r =
        Rect::clipped(part.left, part.top, part.width, part.height, layout_.clientWidth, layout_.clientHeight);
    if (r.empty()) return;
    // Past a handful of parts, one repaint of the whole window costs less than keeping count.
    constexpr std::size_t kMaxParts = 8;
    if (dirtyParts_.size() == kMaxParts) {
        invalidate();
        return;
    }
    dirtyParts_.push_back(r);
}

void Form::compose(Surface& target, int x0, int y0) const {
    if (x0 == 0 && y0 == 0 && target.width == image_.width && target.height == image_.height)
        target.pixels = image_.pixels;
    else
        blit(target, 0, 0, target.width, target.height, image_, x0, y0, SRCCOPY);
    // Labels are drawn on the image; picture controls are windows of their own, above both.
    for (const Label* label : labels_) label->compose(target, runtime_.backend(), -x0, -y0);
    for (const PictureBox* picture : pictures_) picture->compose(target, -x0, -y0);
}

void Form::present() {
    wholeDirty_ = false;
    dirtyParts_.clear();
    if (!loaded_ || window_ == 0) return;
    compose(screen_, 0, 0);
    runtime_.frameShown(runtime_.backend().present(window_, screen_));
}

void Form::repaint() {
    if (wholeDirty_) {
        present();
        return;
    }
    const std::vector<Rect> parts = std::move(dirtyParts_);
    dirtyParts_.clear();
    if (!loaded_ || window_ == 0 || parts.empty()) return;
    for (const Rect& part : parts) {
        Surface piece(part.width, part.height);
        compose(piece, part.left, part.top);
        blit(screen_, part.left, part.top, part.width, part.height, piece, 0, 0, SRCCOPY);
    }
    runtime_.frameShown(runtime_.backend().present(window_, screen_));
}

}  // namespace rt
