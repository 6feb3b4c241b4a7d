// The hidden sprite window: it owns the fifteen sprite holders, each a picture control whose
// drawing surface keeps its bitmap for as long as the window is loaded. It is never shown.
#pragma once

#include "runtime/controls.h"
#include "runtime/form.h"

namespace quorvex {

class frmGraphics : public rt::Form {
public:
    explicit frmGraphics(rt::Runtime& runtime);

    // In the order in which the window stores them.
    rt::PictureBox picBombMask;
    rt::PictureBox picBomb;
    rt::PictureBox picAlien2Mask;
    rt::PictureBox picAlien2;
    rt::PictureBox picAlien1Mask;
    rt::PictureBox picAlien1;
    rt::PictureBox picLives;
    rt::PictureBox picLife;
    rt::PictureBox picGround;
    rt::PictureBox picBullet;
    rt::PictureBox picShipMask;
    rt::PictureBox picShip;
    rt::PictureBox picContClick;
    rt::PictureBox picCont;
    rt::PictureBox picTitle;

    // The stored picture of a holder, decoded from the embedded bitmap "sprites/<holder>.bmp" once
    // per run and shared. A missing or broken bitmap is a failing window call: there is no fallback.
    static rt::Picture StoredPicture(const char* holder);
};

}  // namespace quorvex
