// A cleared formation raises the level.
#include "game/frmGame.h"

namespace quorvex {

void frmGame::CheckLevel() {
    bool allDead = true;
    for (intI = 1; intI <= 10; intI += 1)  // all ten are read on every call
        if (!objEnemy[intI]->bDead) allDead = false;
    if (!allDead) return;

    // The level is the march step, so the new formation is faster. Score, lives, missile, bomb
    // and the direction of march carry over.
    lngLevel += 1;
    bRunning = false;
    Cls();
    for (intI = 1; intI <= 10; intI += 1) objEnemy[intI]->bDead = false;
    SetupAliens();
    ShowGetReady();
}

}  // namespace quorvex
