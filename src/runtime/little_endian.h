// Little-endian integers in the bytes of a file, as bitmaps and icons store them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace rt::le {

inline std::uint32_t u32(std::span<const unsigned char> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

inline std::uint16_t u16(std::span<const unsigned char> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

}  // namespace rt::le
