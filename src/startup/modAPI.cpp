#include "startup/modAPI.h"

#include <bit>

#include "runtime/runtime.h"

namespace quorvex {

rt::Long GetTickCount() {
    return rt::Long(std::bit_cast<std::int32_t>(rt::Runtime::current().backend().tickCount()));
}

rt::Long BitBlt(rt::Long hDestDC, rt::Long x, rt::Long y, rt::Long nWidth, rt::Long nHeight, rt::Long hSrcDC,
                rt::Long xSrc, rt::Long ySrc, rt::Long dwRop) {
    auto& surfaces = rt::Runtime::current().surfaces();
    rt::Surface* dst = surfaces.find(hDestDC.value());
    const rt::Surface* src = surfaces.find(hSrcDC.value());
    if (dst == nullptr || src == nullptr) return 0;
    return rt::blit(*dst, x.value(), y.value(), nWidth.value(), nHeight.value(), *src, xSrc.value(), ySrc.value(),
                    dwRop.value())
               ? 1
               : 0;
}

std::int64_t TicksSince(rt::Long now, rt::Long last) {
    return static_cast<std::uint32_t>(static_cast<std::uint32_t>(now.value()) - static_cast<std::uint32_t>(last.value()));
}

}  // namespace quorvex
