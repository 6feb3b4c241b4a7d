#include "startup/layouts.h"

#include <cmath>
#include <map>
#include <string>

#include "assets/assets.h"
#include "runtime/bmp.h"
#include "runtime/errors.h"

namespace quorvex::layouts {

int twipsToPixels(int twips) {
    return static_cast<int>(std::nearbyint(static_cast<double>(twips) / kTwipsPerPixel));
}

namespace {

rt::FormLayout visibleWindow(const char* name) {
    rt::FormLayout form;
    form.name = name;
    form.caption = kCaption;
    form.clientWidth = twipsToPixels(9000);
    form.clientHeight = twipsToPixels(7500);
    form.back = rt::colour::black;
    return form;
}

rt::LabelLayout label(const char* name, int left, int top, int width, int height) {
    rt::LabelLayout l;
    l.name = name;
    l.left = twipsToPixels(left);
    l.top = twipsToPixels(top);
    l.width = twipsToPixels(width);
    l.height = twipsToPixels(height);
    l.back = rt::colour::black;
    return l;
}

}  // namespace

rt::FormLayout frmMain() { return visibleWindow("frmMain"); }

rt::PictureLayout frmMain_picCont() {
    rt::PictureLayout p;
    p.name = "picCont";
    p.left = twipsToPixels(3750);  // 250: where the button comes to rest, centred
    p.top = twipsToPixels(6600);   // 440
    p.visible = false;
    p.picture = sprite("picCont");
    return p;
}

rt::LabelLayout frmMain_lblMessage() {
    rt::LabelLayout l = label("lblMessage", 300, 3540, 8355, 2715);  // 20, 236, 557 x 181
    l.visible = false;
    l.fore = rt::colour::red;
    l.font = {"Courier New", 12, true};
    return l;
}

rt::FormLayout frmGame() { return visibleWindow("frmGame"); }

rt::TimerLayout frmGame_tmrFPS() { return {"tmrFPS", 1000, true}; }

rt::TimerLayout frmGame_tmrReady() { return {"tmrReady", 1000, true}; }

rt::LabelLayout frmGame_lblLevel() {
    // Stored half a pixel left of lblReady; both land on column 188.
    rt::LabelLayout l = label("lblLevel", 2813, 3660, 3375, 555);  // 188, 244, 225 x 37
    l.fore = rt::colour::lime;
    l.font = {"MS Sans Serif", 24, false};
    return l;
}

rt::LabelLayout frmGame_lblReady() {
    rt::LabelLayout l = label("lblReady", 2820, 2760, 3375, 555);  // 188, 184, 225 x 37
    l.caption = "Get Ready";
    l.fore = rt::colour::lime;
    l.font = {"MS Sans Serif", 24, false};
    return l;
}

rt::FormLayout frmGraphics() {
    rt::FormLayout form;
    form.name = "frmGraphics";
    form.caption = "";
    form.clientWidth = 620;
    form.clientHeight = 412;
    form.back = rt::colour::magenta;
    form.visibleWindow = false;
    return form;
}

rt::Picture sprite(const char* holder) {
    // Decoded once per run of the process; pictures are immutable and shared.
    static std::map<std::string, rt::Picture> decoded;
    auto& picture = decoded[holder];
    if (!picture) {
        const std::string path = std::string("sprites/") + holder + ".bmp";
        std::string why;
        auto image = rt::decodeBmp(assets::find(path), nullptr, &why);
        if (!image) rt::raiseWindowCallFailed("cannot load the picture " + path + ": " + why);
        picture = std::make_shared<const rt::Surface>(std::move(*image));
    }
    return picture;
}

}  // namespace quorvex::layouts
