// The start-up routine, where the program begins: it puts the sprites and the title window together.
#pragma once

namespace quorvex {

// Loads the sprite window, fills the catalogue, shows the title window; returns once the title's
// introduction has played.
void Main();

}  // namespace quorvex
