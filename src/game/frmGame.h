// The game window: the play field and all the state of a game.
//
// Its routines take no arguments and communicate through these fields, even the loop counters
// intI and intJ. They are split by concern:
//   frmGame_layout.cpp  the window as stored: its labels and timers, and its creation
//   frmGame_events.cpp  load, keys, unload
//   frmGame_loop.cpp    the paced main loop, the "Get Ready" pause and its end, the caption
//   frmGame_ship.cpp    missile and ship
//   frmGame_aliens.cpp  formation, march, attacker and bomb
//   frmGame_level.cpp   a cleared formation raises the level
//   frmGame_lives.cpp   lives display and game over
#pragma once

#include "game/clsEnemy.h"
#include "runtime/checked.h"
#include "runtime/controls.h"
#include "runtime/fixed_array.h"
#include "runtime/form.h"
#include "runtime/object_ref.h"

namespace quorvex {

class frmGame : public rt::Form {
public:
    explicit frmGame(rt::Runtime& runtime);

    // Controls, in stored order.
    rt::Timer tmrFPS;
    rt::Timer tmrReady;
    rt::Label lblLevel;
    rt::Label lblReady;

    // Fields, in declared order. Every one starts zero/false; Form_Load sets up a game.
    rt::Long lngTickNow;   // tick count at the top of the current pass
    rt::Long lngTickLast;  // tick count at the end of the last drawn frame
    rt::Bool bHold;        // skip the aliens and the level check (set by a new game)
    rt::Bool bRunning;     // the main loop runs while true
    rt::Bool bLeftKey;
    rt::Bool bRightKey;
    rt::Long lngSpeed;      // alien march step per frame: the level, copied on every pass
    rt::Long lngAnimCount;  // passes since the alien animation last flipped
    rt::Long lngShipX;
    rt::Long lngShipY;
    rt::Long lngMissileX;
    rt::Long lngMissileY;
    rt::Bool bMissile;  // a missile is in flight
    rt::Long lngBombX;
    rt::Long lngBombY;
    rt::Bool bAttack;       // an attacker is chosen and its bomb is in flight
    rt::Bool bBombFalling;  // the bomb's start is fixed and it is falling
    rt::Byte bytLives;
    rt::Long lngScore;
    rt::Long lngFrames;  // passes since the last caption update
    rt::FixedArray<rt::ObjectRef<clsEnemy>, 1, 10> objEnemy;
    rt::Long lngAttacker;
    rt::Integer intI;
    rt::Integer intJ;
    rt::Long lngLevel;

    // Handlers.
    void Form_Load() override;
    void Form_KeyDown(rt::Integer& KeyCode, rt::Integer Shift) override;
    void Form_KeyUp(rt::Integer& KeyCode, rt::Integer Shift) override;
    void Form_Unload(rt::Integer& Cancel) override;
    void tmrReady_Timer();
    void tmrFPS_Timer();

    // Routines of the window (public so that tests can drive them one by one).
    void GameLoop();
    void MoveMissile();
    void MoveShip();
    void DrawShip();
    void SetupAliens();
    void MoveAliens();
    void CheckLevel();
    void DrawLives();

private:
    // No frame drawn yet: the first pass draws at once whatever the counter reads (just after its
    // wrap through zero it can read 0 to 10, which a difference from lngTickLast's 0 would not pass).
    bool noFrameYet_ = true;

    // The steps of MoveAliens, in the order it takes them.
    void MarchAliens();
    void TurnAtEdges();
    void ChooseAttacker();
    void MoveBomb();

    // Stops play after this pass: shows "Get Ready" and the level until tmrReady's next tick.
    void ShowGetReady();
    rt::Long CentredShipX();
    rt::Long ShipTop();
};

}  // namespace quorvex
