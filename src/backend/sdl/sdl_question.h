// The modal Yes/No question as a window of our own: a question-mark icon, the prompt, and the buttons
// Yes (the default) and No. It draws itself and answers from its own mouse and key events; the
// back-end routes the events of its window here and turns the answer into a DialogAnswer event.
// The same window, with a red error icon and one OK button, is the box of a run-time error.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>

#include "backend/sdl/sdl_fonts.h"
#include "runtime/surface.h"

struct SDL_Window;
union SDL_Event;

namespace sdl {

enum class DialogKind {
    Question,  // Yes and No; it must be answered: no close box
    Error,     // OK, also by Return, Escape or the close box
};

class QuestionDialog {
public:
    // Creates the window hidden, laid out for the prompt; `parent` (may be null) is the window it
    // belongs to: the dialog stays above it and opens centred on it.
    // Its pixels are shown `scale` times larger, like the windows'.
    QuestionDialog(FontCache& fonts, const std::string& title, const std::string& prompt, SDL_Window* parent,
                   int scale = 1, DialogKind kind = DialogKind::Question);
    ~QuestionDialog();
    QuestionDialog(const QuestionDialog&) = delete;
    QuestionDialog& operator=(const QuestionDialog&) = delete;

    bool valid() const { return window_ != nullptr; }
    std::uint32_t id() const;
    void show();  // shows, raises and draws it

    // Handles one event of the dialog's window. Returns rt::vbYes or rt::vbNo when it answers the question,
    // rt::vbOK when an error box is acknowledged (once); 0 otherwise.
    int handle(const SDL_Event& event);

    // Layout, in client pixels. An error box's one button is its "yes" button; it has no "no" button.
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
    DialogKind kind_ = DialogKind::Question;
    Button focus_ = Button::Yes;
    Button hover_ = Button::None;
    Button pressed_ = Button::None;  // by the mouse
    bool spaceHeld_ = false;         // Space pressed here, answering on its release
    // Keys already held when the dialog opened (by scan code). They answer nothing until released: a
    // player who loses the last life with a finger on Return, Space or an arrow must still get to choose,
    // and once the dialog takes the focus, such a key's auto-repeat arrives as a fresh press.
    std::bitset<512> heldAtOpen_;
    bool answered_ = false;
};

}  // namespace sdl
