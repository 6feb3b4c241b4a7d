// The player's missile and ship.
#include "game/frmGame.h"
#include "startup/modAPI.h"
#include "startup/modVariable.h"

namespace quorvex {

rt::Long frmGame::CentredShipX() { return rt::CLng(ScaleWidth() / 2 - static_cast<double>(lngShipWidth) / 2); }

rt::Long frmGame::ShipTop() { return rt::CLng(ScaleHeight() - 50 - static_cast<double>(lngShipHeight)); }

void frmGame::MoveMissile() {
    if (bMissile) lngMissileY -= 10;
    // Drawn every frame; an idle missile is parked outside the visible area.
    DrawPlain(hDC(), lngMissileX, lngMissileY, lngBulletWidth, lngBulletHeight, lngBulletDC);
    if (lngMissileY <= -lngBulletHeight) bMissile = false;

    // A hit: the missile's top edge exactly on a live alien's bottom edge, and its left edge within
    // the alien's left edge + 0..50 (51 columns).
    // Kept: the missile's own width is not counted in the hit test.
    // Only a missile in flight hits, and its first hit ends it: one missile, one alien. The lower
    // index wins when two aliens qualify.
    for (intI = 1; intI <= 10; intI += 1) {
        if (!objEnemy[intI]->bDead) {
            if (lngMissileY == objEnemy[intI]->lngEnemyY + lngAlienHeight) {
                for (intJ = 0; intJ <= rt::CInt(lngAlienWidth); intJ += 1) {
                    if (bMissile && lngMissileX == objEnemy[intI]->lngEnemyX + intJ) {
                        objEnemy[intI]->bDead = true;
                        lngMissileX = -10;
                        bMissile = false;
                        lngScore += 100;
                    }
                }
            }
        }
    }
}

void frmGame::MoveShip() {
    if (bLeftKey) lngShipX -= 5;
    if (bRightKey) lngShipX += 5;  // with both keys held the two steps cancel
    if (lngShipX <= 0) lngShipX = 0;
    if (static_cast<double>(lngShipX) >= ScaleWidth() - static_cast<double>(lngShipWidth))
        lngShipX = rt::CLng(ScaleWidth() - static_cast<double>(lngShipWidth));  // 504
}

void frmGame::DrawShip() {
    // Kept: the window's drawing surface is fetched for each of the two copies.
    BitBlt(hDC(), lngShipX, lngShipY, lngShipWidth, lngShipHeight, lngShipMaskDC, 0, 0, SRCAND);
    BitBlt(hDC(), lngShipX, lngShipY, lngShipWidth, lngShipHeight, lngShipDC, 0, 0, SRCPAINT);
}

}  // namespace quorvex
