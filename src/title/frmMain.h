// The title window: the animated introduction and the start button that leads into the game.
#pragma once

#include <string>

#include "runtime/checked.h"
#include "runtime/controls.h"
#include "runtime/form.h"

namespace quorvex {

class frmMain : public rt::Form {
public:
    explicit frmMain(rt::Runtime& runtime);

    // Controls, in stored order.
    rt::PictureBox picCont;  // the start button
    rt::Label lblMessage;    // the typewriter text

    // Fields, in declared order; all zero, false or empty at creation.
    rt::Long lngTickNow;
    rt::Long lngTickLast;
    rt::Long lngTitleX;
    rt::Long lngTitleY;
    rt::Long lngContX;
    rt::Long lngContWidth;
    std::string strChar;
    std::string strMessage;
    rt::Integer intCharPos;
    rt::Integer intMsgLen;
    rt::Bool bTyping;
    rt::Bool bSlideButton;
    rt::Bool bIntro;

    void Form_Load() override;
    void Form_QueryUnload(rt::Integer& Cancel, rt::Integer UnloadMode) override;
    // Return or Space press and release the start button once it is at rest, as the mouse would.
    void Form_KeyDown(rt::Integer& KeyCode, rt::Integer Shift) override;
    void Form_KeyUp(rt::Integer& KeyCode, rt::Integer Shift) override;
    void picCont_MouseDown(rt::Integer Button, rt::Integer Shift, float X, float Y);
    void picCont_MouseUp(rt::Integer Button, rt::Integer Shift, float X, float Y);

    // The six lines of the welcome text, joined by carriage returns.
    static std::string WelcomeText();

private:
    // The first pass draws at once whatever the counter reads (as the game loop's does).
    bool noFrameYet_ = true;
    // The key that holds the start button down (Return or Space), or 0.
    int buttonKey_ = 0;
};

}  // namespace quorvex
