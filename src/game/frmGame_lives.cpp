// The lives display, and the question after the last life.
#include "game/frmGame.h"
#include "runtime/constants.h"
#include "runtime/runtime.h"
#include "startup/modVariable.h"

namespace quorvex {

void frmGame::DrawLives() {
    DrawPlain(hDC(), 10, 460, lngLivesWidth, lngLivesHeight, lngLivesDC);
    if (bytLives >= 1 && bytLives <= 5) {
        // Kept: the icons stand at a fixed 10 px pitch whatever their width.
        for (rt::Long k = 1; k <= bytLives; k += 1)
            DrawPlain(hDC(), lngLivesWidth + 40 + (k - 1) * 10, 465, lngLifeWidth, lngLifeHeight, lngLifeDC);
    } else if (bytLives == 0) {
        if (rt::MsgBox("You are dead, would you like to play again?", rt::vbYesNo + rt::vbQuestion, "DEAD!!!") !=
            rt::vbYes)
            rt::End();  // at once: no further handler runs, not even an unload handler

        // A new game.
        // Kept: the score carries over; only the load handler zeroes it.
        // Kept: the new game clears the window three times over.
        lngLevel = 1;
        bHold = true;
        bRunning = false;
        Cls();
        bytLives = 5;
        for (intI = 1; intI <= 10; intI += 1) objEnemy[intI]->bDead = false;
        ShowGetReady();
        SetupAliens();
        Cls();
        Cls();
    }
}

}  // namespace quorvex
