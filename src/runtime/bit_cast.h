// std::bit_cast where the standard library lacks it (the browser build's): the same bits, another type.
#pragma once

#include <cstring>
#include <type_traits>

namespace rt {

template <class To, class From>
To bitCast(const From& from) {
    static_assert(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From>);
    To to;
    std::memcpy(&to, &from, sizeof(To));
    return to;
}

}  // namespace rt
