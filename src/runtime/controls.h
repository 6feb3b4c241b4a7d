// Labels, picture controls and timers: the controls that the system's windows hold.
//
// Each control belongs to one form and starts, every time that form loads, from its stored layout.
// A change that alters what the window shows (a label's text or visibility, a picture moved or
// replaced) marks the control's rectangle of the form for repainting; drawing on a picture's surface
// does not.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "runtime/backend.h"
#include "runtime/checked.h"
#include "runtime/surface.h"

namespace rt {

class Form;

// A picture object: an immutable image that picture controls can show.
using Picture = std::shared_ptr<const Surface>;

struct LabelLayout {
    std::string name;
    int left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    std::string caption;
    Pixel fore = colour::black;
    Pixel back = colour::black;
    FontSpec font;
};

class Label {
public:
    Label(Form& owner, LabelLayout layout);
    ~Label();
    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;

    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& text);
    bool Visible() const { return visible_; }
    void setVisible(bool visible);

    const LabelLayout& layout() const { return layout_; }
    void reset();  // back to the stored layout (on load)
    // Draws the label on `target`, shifted by (dx, dy): target pixel = client pixel + (dx, dy).
    void compose(Surface& target, Backend& backend, int dx, int dy) const;

private:
    void invalidateArea() const;

    Form& owner_;
    LabelLayout layout_;
    std::string caption_;
    bool visible_ = true;
};

struct PictureLayout {
    std::string name;
    int left = 0, top = 0;
    bool visible = true;
    Picture picture;  // the control takes its size from its picture
};

using MouseHandler = std::function<void(Integer button, Integer shift, float x, float y)>;

class PictureBox {
public:
    PictureBox(Form& owner, PictureLayout layout);
    ~PictureBox();
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    // Drawing-surface handle: the control's persistent image, valid while its form is loaded.
    Handle hDC() const;
    double ScaleWidth() const { return image_.width; }
    double ScaleHeight() const { return image_.height; }
    Long Left() const { return left_; }
    void setLeft(Long left);
    Long Top() const { return top_; }
    bool Visible() const { return visible_; }
    void setVisible(bool visible);
    const Picture& picture() const { return picture_; }
    void setPicture(const Picture& picture);  // the image becomes the picture; the control resizes

    MouseHandler onMouseDown;
    MouseHandler onMouseUp;

    const std::string& name() const { return layout_.name; }
    const Surface& image() const { return image_; }
    bool contains(int x, int y) const;
    void reset();                                         // back to the stored layout (on load)
    void attach();                                        // register the surface (on load)
    void detach();                                        // unregister the surface (on unload)
    void compose(Surface& target, int dx, int dy) const;  // shifted as a label's

private:
    void invalidateArea() const;

    Form& owner_;
    PictureLayout layout_;
    Picture picture_;
    Surface image_;
    Handle handle_ = 0;
    Long left_;
    Long top_;
    bool visible_ = true;
};

struct TimerLayout {
    std::string name;
    int interval = 0;
    bool enabled = true;
};

class Timer {
public:
    Timer(Form& owner, TimerLayout layout);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const { return enabled_; }
    // Switching on a running timer changes nothing: its interval is not restarted.
    void setEnabled(bool enabled);
    int Interval() const { return layout_.interval; }

    std::function<void()> onTick;

    // Used by the runtime.
    void reset(std::uint64_t now);  // stored layout; counting starts now
    std::uint64_t dueAt() const { return dueAt_; }
    void postpone(std::uint64_t ms) { dueAt_ += ms; }  // a pause: the time it lasted does not count
    bool inHandler() const { return inHandler_; }
    // Fire if due: the next tick is scheduled one interval on; a tick that falls due while this
    // timer's handler is still running is dropped, not queued.
    void fireIfDue(std::uint64_t now);

private:
    Form& owner_;
    TimerLayout layout_;
    bool enabled_ = true;
    bool inHandler_ = false;
    std::uint64_t dueAt_ = 0;
};

}  // namespace rt
