// A top-level window of the system.
//
// A form has a persistent image of its client area: everything drawn on it (blits to its drawing
// surface, clearing) goes into that image, and the screen shows the image with the visible pictures
// and labels on top. Clearing fills the image and marks the whole window for repainting; a blit marks
// nothing; Refresh shows the image at once. A control that changes marks only its own rectangle, so
// a repaint brings just that part of the screen up to date: blits elsewhere stay unseen until a
// refresh or a clear.
//
// Forms load on their first Show (their load handler runs inside it), and unload through Unload or
// the close box (their unload handler runs first). While unloaded, a form keeps its fields but has no
// window and no drawing surface: drawing on it, clearing it or changing its controls shows nothing
// and never loads it again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>
#include <algorithm>

#include "runtime/backend.h"
#include "runtime/checked.h"
#include "runtime/controls.h"
#include "runtime/surface.h"

namespace rt {

class Runtime;

// Who asks a form to unload.
inline constexpr int vbFormControlMenu = 0;  // the close box
inline constexpr int vbFormCode = 1;         // the program's own code

struct FormLayout {
    std::string name;
    std::string caption;
    int clientWidth = 0;
    int clientHeight = 0;
    Pixel back = colour::black;
    bool visibleWindow = true;  // false for a window that only holds pictures and is never shown
};

class Form {
public:
    Form(Runtime& runtime, FormLayout layout);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Load if needed (running the load handler), then show.
    void Show();
    // Load if needed, without showing.
    void Load();
    // Run the query-unload and unload handlers; unless one cancels, destroy the window. Nothing when
    // not loaded. `mode` tells who asks: the close box or the program's own code.
    void Unload(int mode = vbFormCode);
    bool isLoaded() const { return loaded_; }
    bool isShown() const { return shown_; }

    Handle hDC() const { return handle_; }
    double ScaleWidth() const { return layout_.clientWidth; }
    double ScaleHeight() const { return layout_.clientHeight; }
    void Cls();
    void Refresh();
    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& caption);

    // Handlers of the system's windows.
    virtual void Form_Load() {}
    virtual void Form_KeyDown(Integer& keyCode, Integer shift) {
        (void)keyCode;
        (void)shift;
    }
    virtual void Form_KeyUp(Integer& keyCode, Integer shift) {
        (void)keyCode;
        (void)shift;
    }
    virtual void Form_QueryUnload(Integer& cancel, Integer unloadMode) {
        (void)cancel;
        (void)unloadMode;
    }
    virtual void Form_Unload(Integer& cancel) { (void)cancel; }

    // P, Pause, a minimise or the focus lost to another program pause the program while this form shows.
    bool pausesPlay = false;

    // Used by the runtime, the controls and tests.
    const FormLayout& layout() const { return layout_; }
    const Surface& image() const { return image_; }
    const Surface& screen() const { return screen_; }  // the image as last composed
    WindowId window() const { return window_; }
    Runtime& runtime() { return runtime_; }
    void invalidate() { wholeDirty_ = true; }  // the whole window
    void invalidate(const Rect& part);         // part of it, in client pixels (clipped here)
    bool dirty() const { return wholeDirty_ || !dirtyParts_.empty(); }
    void present();  // compose the whole window and show it
    void repaint();  // bring the invalidated parts up to date and show the window
    void add(Label* label) { labels_.push_back(label); }
    void add(PictureBox* picture) { pictures_.push_back(picture); }
    void add(Timer* timer) { timers_.push_back(timer); }
    // Controls leave their form when destroyed: a derived form's controls go before the form itself.
    void remove(const Label* label) { std::erase(labels_, label); }
    void remove(const PictureBox* picture) { std::erase(pictures_, picture); }
    void remove(const Timer* timer) { std::erase(timers_, timer); }
    const std::vector<Timer*>& timers() const { return timers_; }
    PictureBox* pictureAt(int x, int y) const;
    void destroyWindow();  // without handlers, when the program ends

private:
    // Draws the image and the controls over `target`, whose top left is the client pixel (x0, y0).
    void compose(Surface& target, int x0, int y0) const;

    Runtime& runtime_;
    FormLayout layout_;
    std::string caption_;
    Surface image_;
    Surface screen_;
    Handle handle_ = 0;
    WindowId window_ = 0;
    bool loaded_ = false;
    bool shown_ = false;
    bool wholeDirty_ = false;
    std::vector<Rect> dirtyParts_;
    std::vector<Label*> labels_;
    std::vector<PictureBox*> pictures_;
    std::vector<Timer*> timers_;
};

}  // namespace rt
