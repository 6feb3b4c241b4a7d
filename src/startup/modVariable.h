// The sprite catalogue: every sprite's drawing-surface handle and size, read once at start-up so
// that the per-frame drawing touches only integers and blits. Also the shared alien animation flag,
// the two ways of drawing a sprite, and the start-up routine.
#pragma once

#include "runtime/checked.h"

namespace quorvex {

using rt::Bool;
using rt::Long;

// In their declared order.
extern Long lngTitleDC;
extern Long lngTitleWidth;
extern Long lngTitleHeight;
extern Long lngShipDC;
extern Long lngShipWidth;
extern Long lngShipHeight;
extern Long lngShipMaskDC;
extern Long lngBulletDC;
extern Long lngBulletWidth;
extern Long lngBulletHeight;
extern Long lngLifeDC;
extern Long lngLifeWidth;
extern Long lngLifeHeight;
extern Long lngLivesDC;
extern Long lngLivesWidth;
extern Long lngLivesHeight;
extern Long lngGroundDC;
extern Long lngGroundWidth;
extern Long lngGroundHeight;
extern Bool bAlienFrame;  // false: alien frame 1 (legs down); true: frame 2 (legs up)
extern Long lngAlien1DC;
extern Long lngAlien1MaskDC;
extern Long lngAlien2DC;
extern Long lngAlien2MaskDC;
extern Long lngAlienWidth;  // from frame 1; used for frame 2 and both masks too
extern Long lngAlienHeight;
extern Long lngBombDC;
extern Long lngBombMaskDC;  // filled, but the bomb is drawn without its mask
extern Long lngBombWidth;
extern Long lngBombHeight;

// Plain drawing: one copy, the sprite's black background included.
void DrawPlain(Long hDestDC, Long x, Long y, Long width, Long height, Long hSpriteDC);
// Masked drawing: the mask (black on the shape, white around it) cuts a hole with AND, the sprite
// (shape on black) fills it with OR; the scene around the shape is left untouched.
void DrawMasked(Long hDestDC, Long x, Long y, Long width, Long height, Long hMaskDC, Long hSpriteDC);

// Steps 1 to 3 of the start-up routine (Main): the sprite window loaded and hidden, the catalogue filled from it.
void LoadSpriteCatalogue();

// Puts every catalogue value back to its state before start-up (each run starts from there).
void ResetCatalogue();

}  // namespace quorvex
