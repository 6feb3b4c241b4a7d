#include "startup/modVariable.h"

#include "startup/frmGraphics.h"
#include "startup/modAPI.h"
#include "startup/forms.h"

namespace quorvex {

Long lngTitleDC;
Long lngTitleWidth;
Long lngTitleHeight;
Long lngShipDC;
Long lngShipWidth;
Long lngShipHeight;
Long lngShipMaskDC;
Long lngBulletDC;
Long lngBulletWidth;
Long lngBulletHeight;
Long lngLifeDC;
Long lngLifeWidth;
Long lngLifeHeight;
Long lngLivesDC;
Long lngLivesWidth;
Long lngLivesHeight;
Long lngGroundDC;
Long lngGroundWidth;
Long lngGroundHeight;
Bool bAlienFrame;
Long lngAlien1DC;
Long lngAlien1MaskDC;
Long lngAlien2DC;
Long lngAlien2MaskDC;
Long lngAlienWidth;
Long lngAlienHeight;
Long lngBombDC;
Long lngBombMaskDC;
Long lngBombWidth;
Long lngBombHeight;

void DrawPlain(Long hDestDC, Long x, Long y, Long width, Long height, Long hSpriteDC) {
    BitBlt(hDestDC, x, y, width, height, hSpriteDC, 0, 0, SRCCOPY);
}

void DrawMasked(Long hDestDC, Long x, Long y, Long width, Long height, Long hMaskDC, Long hSpriteDC) {
    BitBlt(hDestDC, x, y, width, height, hMaskDC, 0, 0, SRCAND);
    BitBlt(hDestDC, x, y, width, height, hSpriteDC, 0, 0, SRCPAINT);
}

void ResetCatalogue() {
    for (Long* value :
         {&lngTitleDC,      &lngTitleWidth, &lngTitleHeight,  &lngShipDC,       &lngShipWidth,    &lngShipHeight,
          &lngShipMaskDC,   &lngBulletDC,   &lngBulletWidth,  &lngBulletHeight, &lngLifeDC,       &lngLifeWidth,
          &lngLifeHeight,   &lngLivesDC,    &lngLivesWidth,   &lngLivesHeight,  &lngGroundDC,     &lngGroundWidth,
          &lngGroundHeight, &lngAlien1DC,   &lngAlien1MaskDC, &lngAlien2DC,     &lngAlien2MaskDC, &lngAlienWidth,
          &lngAlienHeight,  &lngBombDC,     &lngBombMaskDC,   &lngBombWidth,    &lngBombHeight})
        *value = 0;
    bAlienFrame = false;
}

void LoadSpriteCatalogue() {
    // 1. The sprite window, loaded and never shown.
    frmGraphics& g = form<frmGraphics>();
    g.Load();

    // 2. The catalogue, in this order.
    lngAlien1DC = g.picAlien1.hDC();
    lngAlien1MaskDC = g.picAlien1Mask.hDC();
    lngAlien2DC = g.picAlien2.hDC();
    lngAlien2MaskDC = g.picAlien2Mask.hDC();
    lngAlienWidth = rt::CLng(g.picAlien1.ScaleWidth());
    lngAlienHeight = rt::CLng(g.picAlien1.ScaleHeight());

    lngBombDC = g.picBomb.hDC();
    lngBombMaskDC = g.picBombMask.hDC();
    lngBombWidth = rt::CLng(g.picBomb.ScaleWidth());
    lngBombHeight = rt::CLng(g.picBomb.ScaleHeight());

    lngTitleDC = g.picTitle.hDC();
    lngTitleHeight = rt::CLng(g.picTitle.ScaleHeight());
    lngTitleWidth = rt::CLng(g.picTitle.ScaleWidth());

    lngShipDC = g.picShip.hDC();
    lngShipWidth = rt::CLng(g.picShip.ScaleWidth());
    lngShipHeight = rt::CLng(g.picShip.ScaleHeight());
    lngShipMaskDC = g.picShipMask.hDC();

    lngBulletDC = g.picBullet.hDC();
    lngBulletWidth = rt::CLng(g.picBullet.ScaleWidth());
    lngBulletHeight = rt::CLng(g.picBullet.ScaleHeight());

    lngLifeDC = g.picLife.hDC();
    lngLifeWidth = rt::CLng(g.picLife.ScaleWidth());
    lngLifeHeight = rt::CLng(g.picLife.ScaleHeight());

    lngLivesDC = g.picLives.hDC();
    lngLivesWidth = rt::CLng(g.picLives.ScaleWidth());
    lngLivesHeight = rt::CLng(g.picLives.ScaleHeight());

    lngGroundDC = g.picGround.hDC();
    lngGroundWidth = rt::CLng(g.picGround.ScaleWidth());
    lngGroundHeight = rt::CLng(g.picGround.ScaleHeight());

    // 3. No reference to the sprite window is kept; it stays loaded and hidden.
}

}  // namespace quorvex
