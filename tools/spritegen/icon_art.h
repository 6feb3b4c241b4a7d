// The program icon: a black disc holding a yellow three-bladed trefoil.
#pragma once

#include <vector>

#include "runtime/surface.h"

namespace spritegen {

struct IconImage {
    rt::Surface image;         // colours of the standard 16-colour palette
    std::vector<bool> opaque;  // row-major; false outside the disc
};

// The icon at `size` x `size` pixels (32 or 16). The small one softens the blades' edges with olive.
IconImage makeIcon(int size);

}  // namespace spritegen
