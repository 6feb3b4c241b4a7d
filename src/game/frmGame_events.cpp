// The game window's load, key and unload handlers.
#include "game/frmGame.h"
#include "runtime/constants.h"
#include "startup/frmGraphics.h"
#include "startup/modVariable.h"
#include "startup/forms.h"
#include "title/frmMain.h"

namespace quorvex {

void frmGame::Form_Load() {
    lngShipX = CentredShipX();  // 252
    lngShipY = ShipTop();       // 430: the ship's bottom edge 50 px above the window's
    for (intI = 1; intI <= 10; intI += 1) objEnemy[intI] = std::make_unique<clsEnemy>();
    SetupAliens();
    lngScore = 0;
    lngLevel = 1;
    bytLives = 5;
    lblLevel.setCaption("Level " + rt::Str(lngLevel));
    lngMissileX = -10;  // parked off-screen
    lngMissileY = -10;
    Show();
    form<frmMain>().Unload();  // already closed by its start button in the usual flow
    // Play starts on the first tick of tmrReady, one second from now.
}

void frmGame::Form_KeyDown(rt::Integer& KeyCode, rt::Integer) {
    if (KeyCode == rt::vbKeyLeft) bLeftKey = true;
    if (KeyCode == rt::vbKeyRight) bRightKey = true;
    // Space while a missile flies is ignored, not remembered.
    // Kept: Space during a pause launches a missile too.
    if (KeyCode == rt::vbKeySpace && !bMissile) {
        bMissile = true;
        lngMissileX = rt::CLng(static_cast<double>(lngShipX) + static_cast<double>(lngShipWidth) / 2);
        lngMissileY = lngShipY;
    }
}

void frmGame::Form_KeyUp(rt::Integer& KeyCode, rt::Integer) {
    if (KeyCode == rt::vbKeyLeft) bLeftKey = false;
    if (KeyCode == rt::vbKeyRight) bRightKey = false;
}

void frmGame::Form_Unload(rt::Integer&) {
    form<frmGraphics>().Unload();  // every sprite surface goes with it
    bRunning = false;
}

}  // namespace quorvex
