// One alien: its position, its flags, and how it draws itself.
#pragma once

#include "runtime/checked.h"

namespace quorvex {

class clsEnemy {
public:
    rt::Long lngEnemyX = -100;  // left edge on the game window; off-screen until placed
    rt::Long lngEnemyY = -100;  // top edge
    rt::Bool bSwoop;            // Kept: nothing ever reads or sets it.
    rt::Bool bFire;             // the current attacker: the bomb belongs to it
    rt::Bool bDead;             // neither drawn, moved, tested at the edges nor chosen
    rt::Bool bLeft;             // marching left when true

    // Draws the alien on the game window in the current animation frame, through its mask.
    // Does not look at bDead: only live aliens are drawn by the march.
    void DrawEnemy();
};

}  // namespace quorvex
