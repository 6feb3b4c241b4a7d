// The paced main loop, the "Get Ready" pause and its end, and the caption.
#include <cmath>

#include "game/frmGame.h"
#include "runtime/runtime.h"
#include "startup/modAPI.h"
#include "startup/modVariable.h"
#include "startup/stored_layout.h"

namespace quorvex {

void frmGame::GameLoop() {
    while (bRunning) {
        lngTickNow = GetTickCount();
        // A frame only when more than 10 ms have passed since the end of the last one. The
        // difference is taken on the wrapping counter, so pacing holds when the counter reads
        // negative and across its wrap (a signed subtraction would stall or overflow there).
        if (noFrameYet_ || TicksSince(lngTickNow, lngTickLast) > 10) {
            noFrameYet_ = false;
            Cls();
            DrawPlain(hDC(), 0, lngShipY + lngShipHeight, lngGroundWidth, lngGroundHeight, lngGroundDC);
            MoveMissile();
            MoveShip();
            DrawShip();
            if (!bHold) {
                MoveAliens();
                if (!bHold) CheckLevel();
            }
            DrawLives();
            lngTickLast = GetTickCount();  // a fresh reading: the wait counts from the end of the frame
            rt::NothingDueFor(11);         // until the next frame only counting: a pass rate may sleep through it
        }
        // Counted per pass, drawn or not.
        // Kept: the animation rate and the caption's rate follow the machine's speed.
        lngFrames += 1;
        lngAnimCount += 1;
        lngSpeed = lngLevel;
        if (static_cast<double>(lngAnimCount) >= 10000.0 / static_cast<double>(lngLevel)) {
            lngAnimCount = 0;
            bAlienFrame = !bAlienFrame;
        }
        rt::DoEvents();
    }
}

void frmGame::ShowGetReady() {
    lblReady.setVisible(true);
    lblLevel.setCaption("Level " + rt::Str(lngLevel));
    lblLevel.setVisible(true);
    tmrReady.setEnabled(true);  // already running since the window opened: its next tick resumes play
}

void frmGame::tmrReady_Timer() {
    lblReady.setVisible(false);
    lblLevel.setVisible(false);
    lngShipX = CentredShipX();
    lngShipY = ShipTop();
    Cls();
    bHold = false;
    bRunning = true;
    GameLoop();  // play runs inside this handler; its ticks meanwhile are dropped
}

void frmGame::tmrFPS_Timer() {
    // The rate is thousands of loop passes per tick, not drawn frames.
    const auto thousands = static_cast<std::int64_t>(std::floor(static_cast<double>(lngFrames) / 1000));
    setCaption(std::string(layout::kCaption) + " : Level " + rt::Str(lngLevel) + " : Score (" + rt::Str(lngScore) +
               ") : " + std::to_string(thousands) + " FPS");
    lngFrames = 0;
}

}  // namespace quorvex
