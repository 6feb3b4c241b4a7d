// Room in memory, checked around calls into libraries that do not say when memory runs out: the font
// configuration's reader crashes, and SDL reports a display it could not open. Either would hide the
// real cause from the player.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>

namespace sdl {

// Throws std::bad_alloc (the program's "Out of memory") unless `bytes` could be taken now.
inline void requireRoom(std::size_t bytes) {
    void* room = std::malloc(bytes);
    if (room == nullptr) throw std::bad_alloc();
    std::free(room);
}

// Enough for SDL's display or the font configuration to start.
inline constexpr std::size_t kRoomToStartALibrary = 4u << 20;

}  // namespace sdl
