#include "game/clsEnemy.h"

#include "game/frmGame.h"
#include "startup/modAPI.h"
#include "startup/modVariable.h"
#include "startup/program.h"

namespace quorvex {

void clsEnemy::DrawEnemy() {
    const rt::Long maskDC = bAlienFrame ? lngAlien2MaskDC : lngAlien1MaskDC;
    const rt::Long spriteDC = bAlienFrame ? lngAlien2DC : lngAlien1DC;
    // The window's drawing surface is fetched afresh for each blit.
    BitBlt(frmGame().hDC(), lngEnemyX, lngEnemyY, lngAlienWidth, lngAlienHeight, maskDC, 0, 0, SRCAND);
    BitBlt(frmGame().hDC(), lngEnemyX, lngEnemyY, lngAlienWidth, lngAlienHeight, spriteDC, 0, 0, SRCPAINT);
}

}  // namespace quorvex
