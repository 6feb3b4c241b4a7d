// The formation, its march and turns, the attacker choice and the bomb.
#include <cmath>

#include "game/frmGame.h"
#include "runtime/runtime.h"
#include "startup/modVariable.h"

namespace quorvex {

void frmGame::SetupAliens() {
    // Two rows of five around the centre column (alien 3 on top, alien 8 below), 100 px apart.
    objEnemy[3]->lngEnemyX = rt::CLng(ScaleWidth() / 2 - static_cast<double>(lngAlienWidth) / 2);
    objEnemy[3]->lngEnemyY = 50;
    objEnemy[8]->lngEnemyX = rt::CLng(ScaleWidth() / 2 - static_cast<double>(lngAlienWidth) / 2);
    objEnemy[8]->lngEnemyY = 150;
    objEnemy[1]->lngEnemyX = objEnemy[3]->lngEnemyX - 200;
    objEnemy[2]->lngEnemyX = objEnemy[3]->lngEnemyX - 100;
    objEnemy[4]->lngEnemyX = objEnemy[3]->lngEnemyX + 100;
    objEnemy[5]->lngEnemyX = objEnemy[3]->lngEnemyX + 200;
    objEnemy[6]->lngEnemyX = objEnemy[8]->lngEnemyX - 200;
    objEnemy[7]->lngEnemyX = objEnemy[8]->lngEnemyX - 100;
    objEnemy[9]->lngEnemyX = objEnemy[8]->lngEnemyX + 100;
    objEnemy[10]->lngEnemyX = objEnemy[8]->lngEnemyX + 200;
    for (intI = 1; intI <= 5; intI += 1) objEnemy[intI]->lngEnemyY = objEnemy[3]->lngEnemyY;
    for (intI = 6; intI <= 10; intI += 1) objEnemy[intI]->lngEnemyY = objEnemy[8]->lngEnemyY;
}

void frmGame::MoveAliens() {
    // The generator is reseeded from the time of day on every call.
    rt::Randomize(rt::TimeOfDay());
    MarchAliens();
    TurnAtEdges();
    ChooseAttacker();
    MoveBomb();
}

void frmGame::MarchAliens() {
    // Each live alien is drawn where it stands, then moved.
    for (intI = 1; intI <= 10; intI += 1) {
        if (!objEnemy[intI]->bDead) {
            objEnemy[intI]->DrawEnemy();
            if (objEnemy[intI]->bLeft) {
                objEnemy[intI]->lngEnemyX -= lngSpeed;
            } else {
                objEnemy[intI]->lngEnemyX += lngSpeed;
            }
        }
    }
}

void frmGame::TurnAtEdges() {
    // Tested by the live aliens only: the formation travels further as its outer columns die.
    for (intI = 1; intI <= 10; intI += 1) {
        if (!objEnemy[intI]->bDead) {
            if (ScaleWidth() - static_cast<double>(lngAlienWidth) <= static_cast<double>(objEnemy[intI]->lngEnemyX)) {
                for (intJ = 1; intJ <= 10; intJ += 1) objEnemy[intJ]->bLeft = true;
            }
            if (objEnemy[intI]->lngEnemyX <= 0) {
                for (intJ = 1; intJ <= 10; intJ += 1) objEnemy[intJ]->bLeft = false;
            }
        }
    }
}

void frmGame::ChooseAttacker() {
    if (bAttack) return;  // the bomb of the current attacker is still on its way
    bAttack = true;
    // Kept: r x 10 gives 0 to 9 and 0 counts as 1 (alien 1 twice as likely, alien 10 only by skipping).
    lngAttacker = rt::CLng(std::floor(static_cast<double>(rt::Rnd()) * 10));
    if (lngAttacker == 0) lngAttacker = 1;
    bool anyAlive = true;
    for (intI = 1; intI <= 10 && anyAlive; intI += 1) {
        // Dead aliens are skipped, processing pending messages at each step.
        int skipped = 0;
        while (objEnemy[lngAttacker]->bDead) {
            if (++skipped > 10) {
                anyAlive = false;  // the last alien died this frame: no attacker this time
                break;
            }
            lngAttacker += 1;
            if (lngAttacker == 11) lngAttacker = 1;
            rt::DoEvents();
        }
        if (anyAlive) objEnemy[intI]->bFire = (intI == lngAttacker);
    }
    if (!anyAlive) {
        bAttack = false;
        for (intI = 1; intI <= 10; intI += 1) objEnemy[intI]->bFire = false;
    }
}

void frmGame::MoveBomb() {
    // The attacker's bomb, dead or alive: a bomb in flight keeps falling.
    for (intI = 1; intI <= 10; intI += 1) {
        if (objEnemy[intI]->bFire) {
            if (!bBombFalling) {
                lngBombX =
                    rt::CLng(static_cast<double>(lngAlienWidth) / 2 + static_cast<double>(objEnemy[intI]->lngEnemyX) -
                             static_cast<double>(lngBombWidth) / 2);
                lngBombY = objEnemy[intI]->lngEnemyY + lngAlienHeight;
            }
            bBombFalling = true;
            // Kept: the bomb is copied opaque, black corners included, without its mask.
            DrawPlain(hDC(), lngBombX, lngBombY, lngBombWidth, lngBombHeight, lngBombDC);
            lngBombY += 7;

            // Kept: only the bomb's left edge is tested against the ship's 97 columns.
            for (intJ = 0; intJ <= rt::CInt(lngShipWidth); intJ += 1) {
                if (lngBombY + lngBombHeight >= lngShipY && lngShipX + intJ == lngBombX) {
                    bRunning = false;
                    bAttack = false;
                    bBombFalling = false;
                    Cls();
                    bytLives -= 1;
                    ShowGetReady();
                }
            }

            // Past the ship's bottom edge (the ground): the bomb is gone; a new attacker next call.
            if (lngBombY + lngBombHeight >= lngShipY + lngShipHeight) {
                bAttack = false;
                lngBombY = -100;
                lngBombX = -100;
                bBombFalling = false;
            }
        }
    }
}

}  // namespace quorvex
