// The game window as stored: its two timers and two labels, each as it is when the window is created,
// before any handler runs.
#include "game/frmGame.h"
#include "startup/stored_layout.h"

namespace quorvex {

namespace {

rt::LabelLayout lblLevelLayout() {
    // Stored half a pixel left of lblReady; both land on column 188.
    rt::LabelLayout l = layout::label("lblLevel", 2813, 3660, 3375, 555);  // 188, 244, 225 x 37
    l.fore = rt::colour::lime;
    l.font = {"MS Sans Serif", 24, false};
    return l;
}

rt::LabelLayout lblReadyLayout() {
    rt::LabelLayout l = layout::label("lblReady", 2820, 2760, 3375, 555);  // 188, 184, 225 x 37
    l.caption = "Get Ready";
    l.fore = rt::colour::lime;
    l.font = {"MS Sans Serif", 24, false};
    return l;
}

}  // namespace

frmGame::frmGame(rt::Runtime& runtime)
    : rt::Form(runtime, layout::playWindow("frmGame")),
      tmrFPS(*this, {"tmrFPS", 1000, true}),
      tmrReady(*this, {"tmrReady", 1000, true}),
      lblLevel(*this, lblLevelLayout()),
      lblReady(*this, lblReadyLayout()) {
    tmrFPS.onTick = [this] { tmrFPS_Timer(); };
    tmrReady.onTick = [this] { tmrReady_Timer(); };
    pausesPlay = true;  // P, Pause, a minimise or the focus lost to another program pause play
}

}  // namespace quorvex
