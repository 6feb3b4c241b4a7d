// Lettering set without antialiasing and fitted exactly into a box.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/surface.h"

namespace spritegen {

// A two-level image of lettering, cropped to its ink: every edge row and column holds ink.
struct Ink {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> on;  // row-major, 1 = ink

    bool at(int x, int y) const { return on[static_cast<std::size_t>(y) * width + x] != 0; }
};

// Renders `text` from the font file in one-bit (monochrome) mode, choosing the horizontal and
// vertical pixel sizes whose ink comes closest to width x height, then scales the ink nearest-
// neighbour so that it is exactly width x height. `note`, if given, tells the sizes chosen.
// Throws std::runtime_error on font trouble.
Ink fitLettering(const std::string& fontPath, std::string_view text, int width, int height,
                 std::string* note = nullptr);

// The ink as text, one line per row, '#' for ink and '.' for none. The lettering sprites are drawn
// from such committed text, so that they do not change when the installed font does.
std::string inkText(const Ink& ink);

// Reads inkText's form back. Throws std::runtime_error on rows of unequal length or other characters.
Ink parseInk(std::string_view text);

// Paints the ink's pixels in `colour` with the ink's top-left corner at (left, top).
void stamp(rt::Surface& image, const Ink& ink, int left, int top, rt::Pixel colour);

}  // namespace spritegen
