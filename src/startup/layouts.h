// The stored layouts of the program's windows: each window and control as it exists when the
// window is created, before any handler runs. Positions are stored in twips, 15 to the pixel, and
// converted to whole pixels, a half going to the even neighbour.
#pragma once

#include "runtime/controls.h"
#include "runtime/form.h"

namespace quorvex::layouts {

constexpr int kTwipsPerPixel = 15;
int twipsToPixels(int twips);

inline constexpr const char* kCaption = "Quorvex - By Delmoro";

// The title window and its controls.
rt::FormLayout frmMain();
rt::PictureLayout frmMain_picCont();
rt::LabelLayout frmMain_lblMessage();

// The game window and its controls.
rt::FormLayout frmGame();
rt::TimerLayout frmGame_tmrFPS();
rt::TimerLayout frmGame_tmrReady();
rt::LabelLayout frmGame_lblLevel();
rt::LabelLayout frmGame_lblReady();

// The hidden sprite window.
rt::FormLayout frmGraphics();

// The sprite of a holder, decoded from the embedded bitmap "sprites/<holder>.bmp". A missing or
// broken sprite is a failing window call: there is no fallback sprite.
rt::Picture sprite(const char* holder);

}  // namespace quorvex::layouts
