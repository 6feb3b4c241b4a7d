#include "startup/frmGraphics.h"

#include "startup/layouts.h"

namespace quorvex {

namespace {

rt::PictureLayout holder(const char* name) {
    rt::PictureLayout p;
    p.name = name;
    p.visible = true;  // visible on a window that is never shown
    p.picture = layouts::sprite(name);
    return p;
}

}  // namespace

FrmGraphics::FrmGraphics(rt::Runtime& runtime)
    : rt::Form(runtime, layouts::frmGraphics()),
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
