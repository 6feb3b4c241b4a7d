// The sprite window as stored: a magenta 620 x 412 window that is never shown, holding the fifteen
// sprites.
#include "startup/frmGraphics.h"

namespace quorvex {

namespace {

rt::FormLayout storedWindow() {
    rt::FormLayout form;
    form.name = "frmGraphics";
    form.caption = "";
    form.clientWidth = 620;
    form.clientHeight = 412;
    form.back = rt::colour::magenta;
    form.visibleWindow = false;
    return form;
}

rt::PictureLayout holder(const char* name) {
    rt::PictureLayout p;
    p.name = name;
    p.visible = true;  // visible on a window that is never shown
    p.picture = frmGraphics::StoredPicture(name);
    return p;
}

}  // namespace

frmGraphics::frmGraphics(rt::Runtime& runtime)
    : rt::Form(runtime, storedWindow()),
      picBombMask(*this, holder("picBombMask")),
      picBomb(*this, holder("picBomb")),
      picAlien2Mask(*this, holder("picAlien2Mask")),
      picAlien2(*this, holder("picAlien2")),
      picAlien1Mask(*this, holder("picAlien1Mask")),
      picAlien1(*this, holder("picAlien1")),
      picLives(*this, holder("picLives")),
      picLife(*this, holder("picLife")),
      picGround(*this, holder("picGround")),
      picBullet(*this, holder("picBullet")),
      picShipMask(*this, holder("picShipMask")),
      picShip(*this, holder("picShip")),
      picContClick(*this, holder("picContClick")),
      picCont(*this, holder("picCont")),
      picTitle(*this, holder("picTitle")) {}

}  // namespace quorvex
