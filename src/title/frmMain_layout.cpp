// The title window as stored: its window, the start button and the typewriter label, each as it is
// when the window is created, before any handler runs.
#include "startup/frmGraphics.h"
#include "startup/stored_layout.h"
#include "title/frmMain.h"

namespace quorvex {

namespace {

rt::PictureLayout picContLayout() {
    rt::PictureLayout p;
    p.name = "picCont";
    p.left = layout::twipsToPixels(3750);  // 250: where the button comes to rest, centred
    p.top = layout::twipsToPixels(6600);   // 440
    p.visible = false;
    p.picture = frmGraphics::StoredPicture("picCont");
    return p;
}

rt::LabelLayout lblMessageLayout() {
    rt::LabelLayout l = layout::label("lblMessage", 300, 3540, 8355, 2715);  // 20, 236, 557 x 181
    l.visible = false;
    l.fore = rt::colour::red;
    l.font = {"Courier New", 12, true};
    return l;
}

}  // namespace

frmMain::frmMain(rt::Runtime& runtime)
    : rt::Form(runtime, layout::playWindow("frmMain")),
      picCont(*this, picContLayout()),
      lblMessage(*this, lblMessageLayout()) {
    picCont.onMouseDown = [this](rt::Integer b, rt::Integer s, float x, float y) { picCont_MouseDown(b, s, x, y); };
    picCont.onMouseUp = [this](rt::Integer b, rt::Integer s, float x, float y) { picCont_MouseUp(b, s, x, y); };
}

}  // namespace quorvex
