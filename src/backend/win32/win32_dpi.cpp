#include "backend/win32/win32_dpi.h"

#include <algorithm>

namespace win32 {

namespace {

using DpiForWindowFn = UINT(WINAPI*)(HWND);
using DpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

template <class Fn>
Fn lookUp(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (module == nullptr) module = LoadLibraryW(library);  // shcore is not loaded by itself; it stays loaded
    return module == nullptr ? nullptr : reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

int systemDpi() {
    int dpi = kDefaultDpi;
    if (HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}

}  // namespace

int dpiOf(HWND window) {
    static const auto forWindow = lookUp<DpiForWindowFn>(L"user32.dll", "GetDpiForWindow");     // Windows 10 1607
    static const auto forMonitor = lookUp<DpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");  // Windows 8.1
    if (window != nullptr && forWindow != nullptr) {
        if (const UINT dpi = forWindow(window); dpi != 0) return static_cast<int>(dpi);
    }
    if (forMonitor != nullptr) {
        HMONITOR monitor = window != nullptr ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                                             : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
        UINT x = 0, y = 0;
        if (forMonitor(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y) == S_OK && x != 0) return static_cast<int>(x);
    }
    return systemDpi();
}

int scaleForDpi(int dpi) { return std::clamp(dpi / kDefaultDpi, 1, kMaxScale); }

SIZE frameSize(int width, int height, DWORD style, int dpi) {
    static const auto adjustForDpi = lookUp<AdjustForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT frame{0, 0, width, height};
    if (adjustForDpi == nullptr || !adjustForDpi(&frame, style, FALSE, 0, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&frame, style, FALSE, 0);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace win32
