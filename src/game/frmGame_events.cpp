// The game window's creation, its load, key and unload handlers.
#include "game/frmGame.h"
#include "startup/frmGraphics.h"
#include "startup/modVariable.h"
#include "startup/program.h"
#include "title/frmMain.h"

namespace quorvex {

namespace {
constexpr int vbKeyLeft = 37;
constexpr int vbKeyRight = 39;
constexpr int vbKeySpace = 32;
}  // namespace

FrmGame::FrmGame(rt::Runtime& runtime, const rt::FormLayout& layout)
    : rt::Form(runtime, layout),
      tmrFPS(*this, layouts::frmGame_tmrFPS()),
      tmrReady(*this, layouts::frmGame_tmrReady()),
      lblLevel(*this, layouts::frmGame_lblLevel()),
      lblReady(*this, layouts::frmGame_lblReady()) {
    tmrFPS.onTick = [this] { tmrFPS_Timer(); };
    tmrReady.onTick = [this] { tmrReady_Timer(); };
}

rt::Long FrmGame::CentredShipX() { return rt::CLng(ScaleWidth() / 2 - static_cast<double>(lngShipWidth) / 2); }

rt::Long FrmGame::ShipTop() { return rt::CLng(ScaleHeight() - 50 - static_cast<double>(lngShipHeight)); }

void FrmGame::Form_Load() {
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
    if (Program::current().hasTitle()) frmMain().Unload();
    // Play starts on the first tick of tmrReady, one second from now.
}

void FrmGame::Form_KeyDown(rt::Integer& KeyCode, rt::Integer) {
    if (KeyCode == vbKeyLeft) bLeftKey = true;
    if (KeyCode == vbKeyRight) bRightKey = true;
    // Space while a missile flies is ignored, not remembered. Kept: it works during a pause too.
    if (KeyCode == vbKeySpace && !bMissile) {
        bMissile = true;
        lngMissileX = rt::CLng(static_cast<double>(lngShipX) + static_cast<double>(lngShipWidth) / 2);
        lngMissileY = lngShipY;
    }
}

void FrmGame::Form_KeyUp(rt::Integer& KeyCode, rt::Integer) {
    if (KeyCode == vbKeyLeft) bLeftKey = false;
    if (KeyCode == vbKeyRight) bRightKey = false;
}

void FrmGame::Form_Unload(rt::Integer&) {
    Program::current().graphics().Unload();  // every sprite surface goes with it
    bRunning = false;
}

}  // namespace quorvex
