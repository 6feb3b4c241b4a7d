// What the title and game windows' stored layouts share: positions in twips, 15 to the pixel,
// converted to whole pixels (a half going to the even neighbour), the program's caption, and the
// shape of a play window and of its labels.
#pragma once

#include "runtime/controls.h"
#include "runtime/form.h"

namespace quorvex::layout {

constexpr int kTwipsPerPixel = 15;
int twipsToPixels(int twips);

inline constexpr const char* kCaption = "Quorvex - By Delmoro";

// A visible window with the program's caption: a black client area of 9000 x 7500 twips (600 x 500).
rt::FormLayout playWindow(const char* name);

// A label on black, its rectangle given in twips.
rt::LabelLayout label(const char* name, int left, int top, int width, int height);

}  // namespace quorvex::layout
