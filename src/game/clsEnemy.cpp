#include "game/clsEnemy.h"

#include "game/frmGame.h"
#include "startup/modVariable.h"
#include "startup/forms.h"

namespace quorvex {

void clsEnemy::DrawEnemy() {
    const rt::Long hDC = form<frmGame>().hDC();
    if (!bAlienFrame) {
        DrawMasked(hDC, lngEnemyX, lngEnemyY, lngAlienWidth, lngAlienHeight, lngAlien1MaskDC, lngAlien1DC);
    } else {
        DrawMasked(hDC, lngEnemyX, lngEnemyY, lngAlienWidth, lngAlienHeight, lngAlien2MaskDC, lngAlien2DC);
    }
}

}  // namespace quorvex
