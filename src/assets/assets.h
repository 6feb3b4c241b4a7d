// The files of assets/, compiled into the executable.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace assets {

// The bytes of an embedded file, by its path under assets/ ("sprites/picShip.bmp"). Empty if absent.
std::span<const unsigned char> find(std::string_view path);

namespace detail {
struct Entry {
    const char* path;
    std::span<const unsigned char> bytes;
};
extern const Entry entries[];
extern const std::size_t entryCount;
}  // namespace detail

}  // namespace assets
