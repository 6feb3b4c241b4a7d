#include "startup/modAPI.h"

namespace quorvex {

std::int64_t TicksSince(rt::Long now, rt::Long last) {
    return static_cast<std::uint32_t>(static_cast<std::uint32_t>(now.value()) -
                                      static_cast<std::uint32_t>(last.value()));
}

}  // namespace quorvex
