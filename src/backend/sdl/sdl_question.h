// The modal Yes/No question as a window of our own: a question-mark icon, the prompt, and the buttons
// Yes (the default) and No. It draws itself and answers from its own mouse and key events; the
// back-end routes the events of its window here and turns the answer into a DialogAnswer event.
#pragma once

#include <cstdint>
#include <string>

#include "backend/sdl/sdl_fonts.h"
#include "runtime/surface.h"

struct SDL_Window;
union SDL_Event;

namespace sdl {

class QuestionDialog {
public:
    // Creates the window hidden, laid out for the prompt; `parent` (may be null) is the window it
    // belongs to: the dialog stays above it and opens centred on it.
    // Its pixels are shown `scale` times larger, like the windows'.
    QuestionDialog(FontCache& fonts, const std::string& title, const std::string& prompt, SDL_Window* parent,
                   int scale = 1);
    ~QuestionDialog();
    QuestionDialog(const QuestionDialog&) = delete;
    QuestionDialog& operator=(const QuestionDialog&) = delete;

    bool valid() const { return window_ != nullptr; }
    std::uint32_t id() const;
    void show();  // shows, raises and draws it

    // Handles one event of the dialog's window. Returns rt::vbYes or rt::vbNo when it answers the question
    // (once),
    // 0 otherwise.
    int handle(const SDL_Event& event);

    // Layout, in client pixels.
    TextBox yesButton() const { return yes_; }
    TextBox noButton() const { return no_; }
    const rt::Surface& image() const { return image_; }

private:
    enum class Button { None, Yes, No };
    Button buttonAt(int x, int y) const;
    int answer(Button button);
    void draw();
    void drawButton(const TextBox& box, const char* text, Button which);
    void present();

    FontCache& fonts_;
    std::string prompt_;
    SDL_Window* window_ = nullptr;
    rt::Surface image_;
    TextBox icon_, text_, yes_, no_;
    int stripTop_ = 0;
    int scale_ = 1;
    Button focus_ = Button::Yes;
    Button hover_ = Button::None;
    Button pressed_ = Button::None;  // by the mouse
    bool spaceHeld_ = false;         // Space pressed here, answering on its release
    bool answered_ = false;
};

}  // namespace sdl
