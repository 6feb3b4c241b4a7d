// The hand-placed sprites: the two alien frames, the ship, the bomb and the solid bars, plus the
// derived masks and recolourings.
#pragma once

#include <utility>
#include <vector>

#include "runtime/surface.h"

namespace spritegen {

enum class Legs { Down, Up };

rt::Surface makeAlien(Legs legs);
rt::Surface makeShip();
rt::Surface makeBomb();
rt::Surface makeSolid(int width, int height, rt::Pixel colour);

// Black wherever the sprite is not black, white wherever it is: the AND half of masked drawing.
rt::Surface makeMask(const rt::Surface& sprite);

// Every pixel of colour `from` becomes `to`; other colours stay.
rt::Surface recolour(const rt::Surface& image, const std::vector<std::pair<rt::Pixel, rt::Pixel>>& map);

}  // namespace spritegen
