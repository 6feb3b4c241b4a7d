#include "backend/win32/win32_backend.h"

#include <mmsystem.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>

#include "backend/win32/win32_dpi.h"
#include "backend/win32/win32_question.h"
#include "backend/win32/win32_text.h"

namespace win32 {

namespace {

constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;  // fixed single border and a close box, nothing else
constexpr UINT kAnswerMessage = WM_APP + 1;
#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

BITMAPINFO topDownBitmap(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first, as the runtime's surfaces are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;  // 0x00RRGGBB words are a 32-bit DIB's own layout
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// Floor division for client coordinates shown `scale` times larger (a captured mouse can be left of or
// above the window).
int unscale(int coordinate, int scale) {
    return coordinate >= 0 ? coordinate / scale : -((-coordinate + scale - 1) / scale);
}

int mouseButton(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP: return 1;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP: return 2;
        default: return 4;
    }
}

}  // namespace

Win32Backend::Win32Backend(HINSTANCE instance, const rt::ProgramIdentity& identity, int iconResource, int scale,
                           bool fullScreen)
    : instance_(instance),
      command_(identity.command),
      scaleAsked_(std::clamp(scale, 0, kMaxScale)),
      fullScreen_(fullScreen) {
    scale_ = scaleAsked_ != 0 ? scaleAsked_ : scaleForDpi(dpiOf(nullptr));
    // The scheduler's 1 ms period: waits end on time, so frames come 11 ms apart.
    timeBeginPeriod(1);
    QueryPerformanceFrequency(&counterFrequency_);
    if (iconResource != 0) {
        bigIcon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(iconResource), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
        smallIcon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(iconResource), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    }
    const std::wstring className = widen(identity.title + " window");
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Win32Backend::windowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = bigIcon_;
    windowClass.hIconSm = smallIcon_;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = className.c_str();
    windowClass_ = RegisterClassExW(&windowClass);

    const std::wstring notifyName = widen(identity.title + " answers");
    WNDCLASSEXW notifyClass{};
    notifyClass.cbSize = sizeof(notifyClass);
    notifyClass.lpfnWndProc = &Win32Backend::notifyProc;
    notifyClass.hInstance = instance_;
    notifyClass.lpszClassName = notifyName.c_str();
    notifyClass_ = RegisterClassExW(&notifyClass);
    if (windowClass_ != 0 && notifyClass_ != 0)
        notify_ =
            CreateWindowExW(0, MAKEINTATOM(notifyClass_), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, this);
    if (notify_ == nullptr) {
        const DWORD error = GetLastError();
        release();
        throw StartError("cannot register a window class (error " + std::to_string(error) + ")");
    }
}

Win32Backend::~Win32Backend() { release(); }

void Win32Backend::release() {
    if (instance_ == nullptr) return;
    questions_.clear();
    while (!windows_.empty()) destroyWindow(windows_.begin()->first);
    if (notify_ != nullptr) DestroyWindow(notify_);
    notify_ = nullptr;
    labels_.reset();
    if (windowClass_ != 0) UnregisterClassW(MAKEINTATOM(windowClass_), instance_);
    if (notifyClass_ != 0) UnregisterClassW(MAKEINTATOM(notifyClass_), instance_);
    windowClass_ = notifyClass_ = 0;
    if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
    if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
    bigIcon_ = smallIcon_ = nullptr;
    timeEndPeriod(1);
    instance_ = nullptr;
}

// ---- clocks ----

std::uint64_t Win32Backend::monotonicMs() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const auto ticks = static_cast<std::uint64_t>(now.QuadPart);
    const auto perSecond = static_cast<std::uint64_t>(counterFrequency_.QuadPart);
    return ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
}

// Milliseconds since Windows started, 1 ms apart at the 1 ms period, wrapping after about 49.7 days.
std::uint32_t Win32Backend::tickCount() { return timeGetTime(); }

double Win32Backend::secondsSinceMidnight() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    return local.wHour * 3600.0 + local.wMinute * 60.0 + local.wSecond + local.wMilliseconds / 1000.0;
}

// ---- windows ----

HWND Win32Backend::handleOf(rt::WindowId id) const {
    const auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : it->second.handle;
}

rt::WindowId Win32Backend::createWindow(const rt::WindowSpec& layout) {
    const rt::WindowId id = nextId_++;
    Window& window = windows_[id];  // a map's entries stay where they are: the native window keeps its address
    window.owner = this;
    window.id = id;
    window.width = layout.clientWidth;
    window.height = layout.clientHeight;
    const int dpi = dpiOf(nullptr);
    window.scale = scaleAsked_ != 0 ? scaleAsked_ : scaleForDpi(dpi);
    const SIZE frame = frameSize(window.width * window.scale, window.height * window.scale, kStyle, dpi);
    HWND handle = CreateWindowExW(0, MAKEINTATOM(windowClass_), widen(layout.caption).c_str(), kStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.cx, frame.cy, nullptr, nullptr, instance_, &window);
    if (handle == nullptr) {
        std::fprintf(stderr, "%s: cannot create a window (error %lu)\n", command_.c_str(),
                     static_cast<unsigned long>(GetLastError()));
        windows_.erase(id);
        return 0;
    }
    // Sized again at its own monitor's DPI, and past the screen's size where the scale takes it there
    // (creation cuts a window down to the screen).
    resizeToScale(window, dpiOf(handle), nullptr);
    return id;
}

void Win32Backend::resizeToScale(Window& window, int dpi, const POINT* topLeft) {
    if (scaleAsked_ == 0) window.scale = scaleForDpi(dpi);
    scale_ = window.scale;
    const SIZE frame = frameSize(window.width * window.scale, window.height * window.scale, kStyle, dpi);
    SetWindowPos(window.handle, nullptr, topLeft != nullptr ? topLeft->x : 0, topLeft != nullptr ? topLeft->y : 0,
                 frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE | (topLeft != nullptr ? 0 : SWP_NOMOVE));
    // Where the frame turns out other than the DPI's metrics say, the client area is made right.
    RECT client{};
    GetClientRect(window.handle, &client);
    const int wide = window.width * window.scale - client.right, high = window.height * window.scale - client.bottom;
    if (wide != 0 || high != 0)
        SetWindowPos(window.handle, nullptr, 0, 0, frame.cx + wide, frame.cy + high,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    InvalidateRect(window.handle, nullptr, FALSE);
}

// Moved to a monitor of another DPI: the system suggests where; the size is the window's scale's.
void Win32Backend::onDpiChanged(Window& window, int dpi, const RECT& suggested) {
    if (window.fullScreen) {  // it stays over its monitor; its window takes the new scale when it is back
        if (scaleAsked_ == 0) window.scale = scaleForDpi(dpi);
        scale_ = window.scale;
        InvalidateRect(window.handle, nullptr, FALSE);
        return;
    }
    const POINT topLeft{suggested.left, suggested.top};
    resizeToScale(window, dpi, &topLeft);
}

void Win32Backend::showWindow(rt::WindowId id) {
    const auto it = windows_.find(id);
    if (it == windows_.end()) return;
    Window& window = it->second;
    if (!window.shownOnce) {
        // Centred on the work area of its screen when it first shows.
        window.shownOnce = true;
        RECT frame;
        GetWindowRect(window.handle, &frame);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (GetMonitorInfoW(MonitorFromWindow(window.handle, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
            const RECT& area = monitor.rcWork;
            const int w = frame.right - frame.left, h = frame.bottom - frame.top;
            // A window larger than the work area keeps its caption on it, where it can be dragged.
            SetWindowPos(window.handle, nullptr, std::max(area.left, area.left + (area.right - area.left - w) / 2),
                         std::max(area.top, area.top + (area.bottom - area.top - h) / 2), 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (fullScreen_) showInMode(window, true);  // a window shown in full screen takes it on at once
    ShowWindow(window.handle, SW_SHOW);
    SetForegroundWindow(window.handle);  // a newly shown window is the active one
    lastShown_ = id;
}

void Win32Backend::destroyWindow(rt::WindowId id) {
    const auto it = windows_.find(id);
    if (it == windows_.end()) return;
    HWND handle = it->second.handle;
    SetWindowLongPtrW(handle, GWLP_USERDATA, 0);  // its last messages are no longer ours
    DestroyWindow(handle);
    windows_.erase(it);
    if (lastShown_ == id) lastShown_ = 0;
    if (lastPressed_ == id) lastPressed_ = 0;
}

void Win32Backend::setCaption(rt::WindowId id, const std::string& caption) {
    if (HWND handle = handleOf(id)) SetWindowTextW(handle, widen(caption).c_str());
}

Win32Backend::Placement Win32Backend::placementOf(const Window& window) {
    if (!window.fullScreen) return {window.scale, 0, 0};
    // In full screen: the largest whole-number scale that fits the monitor, centred.
    RECT client{};
    GetClientRect(window.handle, &client);
    Placement at;
    at.scale = std::max(1L, std::min(client.right / window.width, client.bottom / window.height));
    at.left = std::max(0L, (client.right - window.width * at.scale) / 2);
    at.top = std::max(0L, (client.bottom - window.height * at.scale) / 2);
    return at;
}

bool Win32Backend::show(const Window& window, HDC dc) {
    const BITMAPINFO info = topDownBitmap(window.width, window.height);
    const Placement at = placementOf(window);
    const int wide = window.width * at.scale, high = window.height * at.scale;
    if (window.fullScreen) {  // black around the image, painted apart from it: no flicker
        RECT client{};
        GetClientRect(window.handle, &client);
        const RECT around[] = {{0, 0, client.right, at.top},
                               {0, at.top + high, client.right, client.bottom},
                               {0, at.top, at.left, at.top + high},
                               {at.left + wide, at.top, client.right, at.top + high}};
        for (const RECT& part : around)
            if (part.right > part.left && part.bottom > part.top)
                FillRect(dc, &part, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    if (at.scale == 1)
        return SetDIBitsToDevice(dc, at.left, at.top, static_cast<DWORD>(window.width),
                                 static_cast<DWORD>(window.height), 0, 0, 0, static_cast<UINT>(window.height),
                                 window.image.data(), &info, DIB_RGB_COLORS) != 0;
    // Enlarged by a whole number, each pixel is copied into an exact square; COLORONCOLOR keeps any
    // blending of neighbours out.
    SetStretchBltMode(dc, COLORONCOLOR);
    return StretchDIBits(dc, at.left, at.top, wide, high, 0, 0, window.width, window.height, window.image.data(), &info,
                         DIB_RGB_COLORS, SRCCOPY) != 0;
}

void Win32Backend::showInMode(Window& window, bool full) {
    if (window.fullScreen == full) return;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window.handle, GWL_STYLE));
    if (full) {
        // Borderless over the whole monitor it is on; where it was is kept for its way back.
        window.restore.length = sizeof(window.restore);
        GetWindowPlacement(window.handle, &window.restore);
        window.restore.showCmd = SW_SHOWNORMAL;
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (!GetMonitorInfoW(MonitorFromWindow(window.handle, MONITOR_DEFAULTTONEAREST), &monitor)) return;
        const RECT& area = monitor.rcMonitor;
        window.fullScreen = true;
        SetWindowLongPtrW(window.handle, GWL_STYLE, static_cast<LONG_PTR>((style & ~kStyle) | WS_POPUP));
        SetWindowPos(window.handle, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    } else {
        window.fullScreen = false;
        SetWindowLongPtrW(window.handle, GWL_STYLE, static_cast<LONG_PTR>((style & ~WS_POPUP) | kStyle));
        SetWindowPlacement(window.handle, &window.restore);
        // Its size at the scale it has now (its monitor's DPI may have changed meanwhile).
        resizeToScale(window, dpiOf(window.handle), nullptr);
        SetWindowPos(window.handle, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(window.handle, nullptr, FALSE);
}

bool Win32Backend::takeScreenKey(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (!down) return screenKeysHeld_.erase(wParam) != 0;  // Alt may be let go first: the Return is ours
    // Only the key pressed last repeats. The system's "was down" bit alone is not enough: a key-up lost
    // while a window changes mode (seen under Wine) would leave it set on the next press of F11.
    const bool repeat = (lParam & (1L << 30)) != 0 && lastKeyDown_ == wParam;
    lastKeyDown_ = wParam;
    const bool altHeld = (lParam & (1L << 29)) != 0;
    if (wParam != VK_F11 && !(wParam == VK_RETURN && message == WM_SYSKEYDOWN && altHeld)) return false;
    screenKeysHeld_.insert(wParam);
    if (repeat) return true;  // its auto-repeat switches nothing
    // The window the key was pressed in tells which way.
    fullScreen_ = !window.fullScreen;
    for (auto& [id, each] : windows_)
        if (IsWindowVisible(each.handle)) showInMode(each, fullScreen_);
    return true;
}

bool Win32Backend::present(rt::WindowId id, const rt::Surface& screen) {
    const auto it = windows_.find(id);
    if (it == windows_.end()) return false;
    Window& window = it->second;
    if (screen.width != window.width || screen.height != window.height) return false;
    window.image.assign(screen.pixels.begin(), screen.pixels.end());
    HDC dc = GetDC(window.handle);
    if (dc == nullptr) return false;
    const bool shown = show(window, dc);
    ReleaseDC(window.handle, dc);
    return shown;
}

void Win32Backend::setMouseCapture(bool on) {
    if (!on) {
        // Released by the runtime: the press it ends is no longer one to end when the capture goes.
        const auto it = windows_.find(lastPressed_);
        if (it != windows_.end()) it->second.buttonHeld = 0;
        ReleaseCapture();
    } else if (HWND handle = handleOf(lastPressed_)) {
        SetCapture(handle);
    }
}

// ---- events ----

namespace {

// What a window of ours carries (GWLP_USERDATA): given at its creation, kept from its first message on.
template <class Data>
Data* dataOf(HWND handle, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Data*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
}

}  // namespace

LRESULT CALLBACK Win32Backend::windowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = dataOf<Window>(handle, message, lParam);
    if (window == nullptr) return DefWindowProcW(handle, message, wParam, lParam);
    window->handle = handle;  // already there from its first message, before CreateWindowExW returns
    return window->owner->onMessage(*window, message, wParam, lParam);
}

// A key as the runtime's event; true when the system is to see it too.
bool Win32Backend::onKey(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (takeScreenKey(window, message, wParam, lParam)) return false;
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    rt::Event event{down ? rt::EventType::KeyDown : rt::EventType::KeyUp, window.id};
    event.key = static_cast<int>(wParam);
    event.repeat = down && (lParam & (1L << 30)) != 0;
    if (down)
        window.keysHeld.insert(event.key);
    else
        window.keysHeld.erase(event.key);
    post(event);
    // Alt+F4 closes the window (the system turns it into WM_CLOSE). No other system key goes on: F10 or
    // a lone Alt would put the window in menu mode, whose loop of its own holds up play.
    return message == WM_SYSKEYDOWN && wParam == VK_F4;
}

LRESULT Win32Backend::onMessage(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    rt::Event event{rt::EventType::Expose, window.id};
    switch (message) {
        case WM_ERASEBKGND: return 1;  // every pixel is painted from the image: no flicker of black first
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window.handle, &ps);
            if (window.image.empty() || !show(window, dc))
                FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            EndPaint(window.handle, &ps);
            return 0;
        }
        case WM_DPICHANGED: onDpiChanged(window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
        case WM_CLOSE:  // the close box, or Alt+F4: the runtime decides
            event.type = rt::EventType::Close;
            post(event);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:  // Alt held, or F10
        case WM_SYSKEYUP:
            if (onKey(window, message, wParam, lParam)) break;
            return 0;
        case WM_SYSCHAR: return 0;  // Alt with a character: no menu to look it up in, no beep
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) {
                event.type = rt::EventType::Minimised;
                post(event);
            }
            break;
        case WM_ACTIVATEAPP:  // FALSE: another program's window became the active one, not one of ours
            if (wParam == FALSE) post(rt::Event{rt::EventType::FocusLost, 0});
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;  // the keyboard's way into the window menu
            break;
        case WM_KILLFOCUS:
            // Keys held when another window takes the keyboard are released here: their own key-up
            // goes to that other window.
            for (const int key : window.keysHeld) {
                rt::Event up{rt::EventType::KeyUp, window.id};
                up.key = key;
                post(up);
            }
            window.keysHeld.clear();
            break;
        case WM_CAPTURECHANGED:
            // The capture taken away while a button is held (another window took it): the press ends
            // where the pointer is, as a release there would end it.
            if (window.buttonHeld != 0 && reinterpret_cast<HWND>(lParam) != window.handle) {
                POINT at{};
                GetCursorPos(&at);
                ScreenToClient(window.handle, &at);
                const Placement placed = placementOf(window);
                event.type = rt::EventType::MouseUp;
                event.x = unscale(at.x - placed.left, placed.scale);
                event.y = unscale(at.y - placed.top, placed.scale);
                event.button = window.buttonHeld;
                window.buttonHeld = 0;
                post(event);
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
            event.type = down ? rt::EventType::MouseDown : rt::EventType::MouseUp;
            const Placement placed = placementOf(window);
            event.x = unscale(GET_X_LPARAM(lParam) - placed.left, placed.scale);
            event.y = unscale(GET_Y_LPARAM(lParam) - placed.top, placed.scale);
            event.button = mouseButton(message);
            window.buttonHeld = down ? event.button : 0;
            if (down) lastPressed_ = window.id;
            post(event);
            return 0;
        }
        default: break;
    }
    return DefWindowProcW(window.handle, message, wParam, lParam);
}

LRESULT CALLBACK Win32Backend::notifyProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = dataOf<Win32Backend>(handle, message, lParam);
    if (self != nullptr && message == kAnswerMessage) {
        rt::Event answer{rt::EventType::DialogAnswer, static_cast<rt::WindowId>(wParam)};
        answer.answer = static_cast<int>(lParam);
        self->post(answer);
        return 0;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

HWND Win32Backend::questionInFront() const {
    const HWND front = GetForegroundWindow();
    if (front == nullptr) return nullptr;
    const DWORD thread = GetWindowThreadProcessId(front, nullptr);
    for (const auto& [id, question] : questions_) {
        if (question->threadId() != thread) continue;
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr ? info.hwndFocus : front;
    }
    return nullptr;
}

void Win32Backend::pollGamepads() {
    const HWND focus = GetFocus();
    const auto it = std::find_if(windows_.begin(), windows_.end(),
                                 [&](const auto& entry) { return focus != nullptr && entry.second.handle == focus; });
    Window* window = it != windows_.end() ? &it->second : nullptr;
    const HWND box = window == nullptr ? questionInFront() : nullptr;
    // A window of ours that takes the keyboard (again) is pressed what the pads hold: it let go of its keys
    // when it lost the focus. A question is not: a button held from before it acts on it no more than a
    // key would.
    if (box == nullptr && (window == nullptr || window->handle != padTarget_)) gamepads_.forget();
    padTarget_ = window != nullptr ? window->handle : box;
    std::vector<PadKey> changes;
    gamepads_.poll(monotonicMs(), changes);
    for (const PadKey& change : changes) {
        if (box != nullptr) {  // the box's loop takes them as it takes the keyboard's
            PostMessageW(box, change.down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(change.key),
                         change.down ? 1 : static_cast<LPARAM>(0xC0000001u));
            continue;
        }
        if (window == nullptr) continue;
        rt::Event event{change.down ? rt::EventType::KeyDown : rt::EventType::KeyUp, window->id};
        event.key = change.key;
        if (change.down)
            window->keysHeld.insert(change.key);
        else
            window->keysHeld.erase(change.key);
        post(event);
    }
}

bool Win32Backend::pollEvent(rt::Event& out) {
    if (pending_.empty()) pollGamepads();
    MSG message;
    while (pending_.empty() && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (pending_.empty()) return false;
    out = pending_.front();
    pending_.pop_front();
    return true;
}

void Win32Backend::waitForEvent(std::uint64_t untilMs) {
    if (!pending_.empty()) return;
    DWORD timeout = INFINITE;
    if (untilMs != rt::kWaitForever) {
        const std::uint64_t now = monotonicMs();
        if (now >= untilMs) return;
        timeout = static_cast<DWORD>(std::min<std::uint64_t>(untilMs - now, INFINITE - 1));
    }
    // A pad is read, not heard: the wait ends in time to read it (and now and then to find a new one).
    if (gamepads_.available())
        timeout = std::min<DWORD>(timeout, gamepads_.connected() ? Gamepads::kPollMs : Gamepads::kEmptySlotMs);
    MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

// ---- the question ----

rt::WindowId Win32Backend::openQuestion(const std::string& title, const std::string& prompt) {
    HWND owner = handleOf(lastShown_);
    const rt::WindowId id = nextId_++;
    auto box = std::make_unique<QuestionBox>(owner, widen(title), widen(prompt), notify_, kAnswerMessage, id);
    if (!box->opened()) {
        std::fprintf(stderr, "%s: cannot open a question (error %lu)\n", command_.c_str(),
                     static_cast<unsigned long>(GetLastError()));
        return 0;
    }
    questions_[id] = std::move(box);
    return id;
}

void Win32Backend::closeQuestion(rt::WindowId id) { questions_.erase(id); }

// ---- text and errors ----

void Win32Backend::drawLabelText(rt::Surface& screen, const rt::LabelText& label) {
    if (!labels_) labels_ = std::make_unique<LabelPainter>();
    labels_->draw(screen, label);
}

void Win32Backend::showError(const std::string& title, const std::string& text) {
    // Owned by the program's window, as the question is: in front of it, and it takes no input meanwhile.
    HWND owner = handleOf(lastShown_);
    if (MessageBoxW(owner, widen(text).c_str(), widen(title).c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND) == 0)
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

}  // namespace win32
