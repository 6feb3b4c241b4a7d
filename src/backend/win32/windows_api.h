// <windows.h> for the Win32 back-end, always included through here. The runtime's headers come first:
// the Windows headers define SRCCOPY, SRCAND and SRCPAINT as macros, which would rewrite the runtime's
// own constants of those names in any runtime header read after them.
#pragma once

#include "runtime/runtime.h"

#include <windows.h>
