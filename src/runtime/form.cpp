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
    dirty_ = true;
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
    dirty_ = true;
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

void Form::compose() {
    screen_.pixels = image_.pixels;
    // Labels are drawn on the image; picture controls are windows of their own, above both.
    for (const Label* label : labels_) label->compose(screen_, runtime_.backend());
    for (const PictureBox* picture : pictures_) picture->compose(screen_);
}

void Form::present() {
    dirty_ = false;
    if (!loaded_ || window_ == 0) return;
    compose();
    runtime_.backend().present(window_, screen_);
}

}  // namespace rt
