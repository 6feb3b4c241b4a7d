// The title window's handlers: the introduction, played by its load handler, and the start button.
#include "title/frmMain.h"

#include "game/frmGame.h"
#include "runtime/constants.h"
#include "runtime/runtime.h"
#include "startup/frmGraphics.h"
#include "startup/modAPI.h"
#include "startup/modVariable.h"
#include "startup/forms.h"

namespace quorvex {

std::string frmMain::WelcomeText() {
    return "Welcome to 'Quorvex' by Delmoro.\r"
           "Use the Left and Right Arrow Keys to move your ship around and press 'Space' to fire your missiles.\r"
           "The Aliens will drop bombs on you and may swoop down to kill you so watch out!!!\r"
           "Once you have killed all the Aliens you will progress to the next level.\r"
           "Make sure you hit their body as a leg-shot will NOT kill them.\r"
           "GOOD LUCK!!!";
}

void frmMain::Form_Load() {
    Show();  // on screen while the intro plays
    strMessage = WelcomeText();
    lngTitleX = 50;
    lngTitleY = -lngTitleHeight;  // the banner starts just above the window
    lngContWidth = rt::CLng(picCont.ScaleWidth());
    lngContX = -lngContWidth;  // the button starts just off the left edge
    bTyping = false;
    bIntro = true;
    intMsgLen = static_cast<int>(strMessage.size());
    intCharPos = 0;

    // The intro loop. It also stops when the window has been closed meanwhile (a release of the
    // start button while the button still slides, or the close box): nothing here may touch, or
    // bring back, a closed window.
    while (bIntro && isLoaded()) {
        lngTickNow = GetTickCount();
        // Paced like the game loop, on the wrapping counter (see GameLoop).
        if (noFrameYet_ || TicksSince(lngTickNow, lngTickLast) > 10) {
            noFrameYet_ = false;
            if (bSlideButton) {
                if (!picCont.Visible()) picCont.setVisible(true);
                picCont.setLeft(lngContX);
                lngContX += 10;
                const double centre = ScaleWidth() / 2 - picCont.ScaleWidth() / 2;
                if (!(centre > static_cast<double>(lngContX))) {
                    lngContX = rt::CLng(centre);
                    picCont.setLeft(lngContX);
                    bIntro = false;
                }
            }
            if (bTyping) {
                if (!lblMessage.Visible()) lblMessage.setVisible(true);
                if (intCharPos > intMsgLen) {
                    bTyping = false;
                    bSlideButton = true;
                } else {
                    intCharPos += 1;
                }
                // Empty once past the end; a carriage return is typed like any other character.
                strChar = intCharPos <= intMsgLen
                              ? strMessage.substr(static_cast<std::size_t>(intCharPos.value() - 1), 1)
                              : std::string();
                lblMessage.setCaption(lblMessage.Caption() + strChar);
            } else {
                // Never cleared: each copy overwrites the last, one pixel lower.
                // Kept: the slide copies the banner and turns typing on: every other frame refreshes.
                BitBlt(hDC(), lngTitleX, lngTitleY, lngTitleWidth, lngTitleHeight, lngTitleDC, 0, 0, SRCCOPY);
                lngTitleY += 1;
                if (lngTitleY >= 16) {
                    lngTitleY = 16;
                    bTyping = true;
                }
            }
            if (!bTyping) Refresh();
            lngTickLast = GetTickCount();
            rt::NothingDueFor(11);  // until the next frame only counting: a pass rate may sleep through it
        }
        rt::DoEvents();
    }
}

void frmMain::Form_QueryUnload(rt::Integer&, rt::Integer UnloadMode) {
    // Closed by its close box, the title window takes the hidden sprite window with it, so that no
    // invisible process stays behind. The start button's own unload leaves it for the game.
    if (UnloadMode == rt::vbFormControlMenu) form<frmGraphics>().Unload();
}

// The keyboard's way to the start button: only once it is shown and at rest (the intro has ended), and
// only a key pressed here releases it. The design's title takes no keys; without these two nothing differs.
void frmMain::Form_KeyDown(rt::Integer& KeyCode, rt::Integer) {
    const int key = KeyCode.value();
    if (key != rt::vbKeyReturn && key != rt::vbKeySpace) return;
    if (bIntro || !picCont.Visible() || buttonKey_ != 0) return;
    buttonKey_ = key;
    picCont_MouseDown(1, 0, 0, 0);
}

void frmMain::Form_KeyUp(rt::Integer& KeyCode, rt::Integer) {
    if (buttonKey_ == 0 || KeyCode.value() != buttonKey_) return;
    buttonKey_ = 0;
    picCont_MouseUp(1, 0, 0, 0);
}

void frmMain::picCont_MouseDown(rt::Integer, rt::Integer, float, float) {
    picCont.setPicture(form<frmGraphics>().picContClick.picture());
}

void frmMain::picCont_MouseUp(rt::Integer, rt::Integer, float, float) {
    picCont.setPicture(form<frmGraphics>().picCont.picture());
    Unload();
    form<frmGame>().Show();
}

}  // namespace quorvex
