// The two system functions the program declares, the millisecond tick count and the raster blit, as
// the runtime provides them; and the wrap-safe difference of two tick counts that the paced loops use.
#pragma once

#include <cstdint>

#include "runtime/checked.h"
#include "runtime/runtime.h"
#include "runtime/surface.h"

namespace quorvex {

using rt::BitBlt;
using rt::GetTickCount;
using rt::SRCAND;
using rt::SRCCOPY;
using rt::SRCPAINT;

// Milliseconds from `last` to `now` on the wrapping 32-bit counter: always correct across the
// counter's sign change and its wrap, where a plain signed subtraction would overflow.
std::int64_t TicksSince(rt::Long now, rt::Long last);

}  // namespace quorvex
