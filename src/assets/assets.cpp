#include "assets/assets.h"

namespace assets {

std::span<const unsigned char> find(std::string_view path) {
    for (std::size_t i = 0; i < detail::entryCount; ++i)
        if (path == detail::entries[i].path) return detail::entries[i].bytes;
    return {};
}

}  // namespace assets
