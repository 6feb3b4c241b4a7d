// The program icon: a black disc holding a yellow three-bladed trefoil.
#pragma once

#include <vector>

#include "runtime/surface.h"

namespace spritegen {

struct IconImage {
    rt::Surface image;         // colours of the standard 16-colour palette
    std::vector<bool> opaque;  // row-major; false outside the disc
};

// The icon at `size` x `size` pixels (16, 32 or 48). The 16 x 16 one softens the blades' edges with olive.
IconImage makeIcon(int size);

// The icon enlarged by a whole factor, each pixel a factor x factor square: as crisp as drawn.
IconImage enlarge(const IconImage& icon, int factor);

}  // namespace spritegen
