// Text broken into the lines a label shows: shared by every back-end that draws labels' text, so that
// the words fall on the same lines wherever the faces measure the same.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

// Breaks text into the lines it shows in a box `width` pixels wide: "\r\n", "\r" and "\n" end a line;
// a longer line wraps after the last whole word that fits, and the spaces at the break are dropped.
// A single word wider than the box stands alone on its line (it is clipped when drawn).
std::vector<std::string> wrapText(std::string_view text, int width,
                                  const std::function<int(std::string_view)>& measure);

// The face that stands in for one the system names, with the same metrics, so that text wraps where it
// was laid out to wrap ("MS Sans Serif": "Liberation Sans", "Courier New": "Liberation Mono", in any
// case); nullptr for any other name.
const char* standInFace(std::string_view face);

}  // namespace rt
