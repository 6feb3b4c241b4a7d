// The screen's dots per inch and what follows from them: the whole-number scale at which the windows
// show their pixels, and the frame around a client area of a given size. The per-monitor calls of newer
// systems are looked up at run time; older ones give the system's one DPI.
#pragma once

#include "backend/win32/windows_api.h"

namespace win32 {

constexpr int kDefaultDpi = 96;  // the DPI at which a window's pixels are the screen's: scale 1
constexpr int kMaxScale = 4;

// The DPI of the monitor that shows `window` (the primary one for a null window).
int dpiOf(HWND window);

// The whole-number part of dpi / 96, from 1 to 4.
int scaleForDpi(int dpi);

// The outer size of a window of `style` whose client area is width x height, at `dpi`.
SIZE frameSize(int width, int height, DWORD style, int dpi);

}  // namespace win32
