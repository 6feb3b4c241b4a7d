#include "startup/stored_layout.h"

#include <cmath>

namespace quorvex::layout {

int twipsToPixels(int twips) { return static_cast<int>(std::nearbyint(static_cast<double>(twips) / kTwipsPerPixel)); }

rt::FormLayout playWindow(const char* name) {
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

}  // namespace quorvex::layout
