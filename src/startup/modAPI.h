// The two system functions the program declares: the millisecond tick count and the raster blit.
#pragma once

#include "runtime/checked.h"
#include "runtime/surface.h"

namespace quorvex {

using rt::SRCAND;
using rt::SRCCOPY;
using rt::SRCPAINT;

// The system's millisecond counter as a signed 32-bit value: it reads negative after 2^31 - 1 ms
// of up-time and wraps from 2,147,483,647 to -2,147,483,648.
rt::Long GetTickCount();

// Copies a rectangle between two drawing surfaces named by handle. The result is never examined
// by the program: a missing surface simply draws nothing.
rt::Long BitBlt(rt::Long hDestDC, rt::Long x, rt::Long y, rt::Long nWidth, rt::Long nHeight, rt::Long hSrcDC,
                rt::Long xSrc, rt::Long ySrc, rt::Long dwRop);

// Milliseconds from `last` to `now` on the wrapping 32-bit counter: always correct across the
// counter's sign change and its wrap, where a plain signed subtraction would overflow.
std::int64_t TicksSince(rt::Long now, rt::Long last);

}  // namespace quorvex
