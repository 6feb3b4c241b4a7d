#include "backend/win32/win32_backend.h"

#include <mmsystem.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>

#include "backend/win32/win32_question.h"
#include "backend/win32/win32_text.h"

namespace win32 {

namespace {

constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;  // fixed single border and a close box, nothing else
constexpr UINT kAnswerMessage = WM_APP + 1;

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

Win32Backend::Win32Backend(HINSTANCE instance, const rt::ProgramIdentity& identity, int iconResource)
    : instance_(instance), command_(identity.command) {
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
    for (auto& entry : windows_) DestroyWindow(entry.second.handle);
    windows_.clear();
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

rt::WindowId Win32Backend::idOf(HWND handle) const {
    for (const auto& entry : windows_)
        if (entry.second.handle == handle) return entry.first;
    return 0;
}

HWND Win32Backend::handleOf(rt::WindowId id) const {
    const auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : it->second.handle;
}

rt::WindowId Win32Backend::createWindow(const rt::WindowSpec& layout) {
    RECT frame{0, 0, layout.clientWidth, layout.clientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    HWND handle = CreateWindowExW(0, MAKEINTATOM(windowClass_), widen(layout.caption).c_str(), kStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  instance_, this);
    if (handle == nullptr) {
        std::fprintf(stderr, "%s: cannot create a window (error %lu)\n", command_.c_str(),
                     static_cast<unsigned long>(GetLastError()));
        return 0;
    }
    const rt::WindowId id = nextId_++;
    Window& window = windows_[id];
    window.handle = handle;
    window.width = layout.clientWidth;
    window.height = layout.clientHeight;
    return id;
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
            SetWindowPos(window.handle, nullptr, area.left + (area.right - area.left - w) / 2,
                         area.top + (area.bottom - area.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    ShowWindow(window.handle, SW_SHOW);
    SetForegroundWindow(window.handle);  // a newly shown window is the active one
    lastShown_ = id;
}

void Win32Backend::destroyWindow(rt::WindowId id) {
    const auto it = windows_.find(id);
    if (it == windows_.end()) return;
    HWND handle = it->second.handle;
    windows_.erase(it);
    DestroyWindow(handle);
    if (lastShown_ == id) lastShown_ = 0;
    if (lastPressed_ == id) lastPressed_ = 0;
}

void Win32Backend::setCaption(rt::WindowId id, const std::string& caption) {
    if (HWND handle = handleOf(id)) SetWindowTextW(handle, widen(caption).c_str());
}

void Win32Backend::paint(Window& window, HDC dc) const {
    if (window.image.empty()) {
        const RECT all{0, 0, window.width, window.height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    const BITMAPINFO info = topDownBitmap(window.width, window.height);
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(window.width), static_cast<DWORD>(window.height), 0, 0, 0,
                      static_cast<UINT>(window.height), window.image.data(), &info, DIB_RGB_COLORS);
}

bool Win32Backend::present(rt::WindowId id, const rt::Surface& screen) {
    const auto it = windows_.find(id);
    if (it == windows_.end()) return false;
    Window& window = it->second;
    if (screen.width != window.width || screen.height != window.height) return false;
    window.image.assign(screen.pixels.begin(), screen.pixels.end());
    HDC dc = GetDC(window.handle);
    const BITMAPINFO info = topDownBitmap(window.width, window.height);
    const int rows =
        dc == nullptr
            ? 0
            : SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(window.width), static_cast<DWORD>(window.height), 0, 0, 0,
                                static_cast<UINT>(window.height), window.image.data(), &info, DIB_RGB_COLORS);
    if (dc != nullptr) ReleaseDC(window.handle, dc);
    return rows != 0;
}

void Win32Backend::setMouseCapture(bool on) {
    if (!on) {
        ReleaseCapture();
    } else if (HWND handle = handleOf(lastPressed_)) {
        SetCapture(handle);
    }
}

// ---- events ----

namespace {

// The back-end that a window of ours belongs to: given at its creation, kept in the window.
template <class Backend>
Backend* ownerOf(HWND handle, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Backend*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
}

}  // namespace

LRESULT CALLBACK Win32Backend::windowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = ownerOf<Win32Backend>(handle, message, lParam);
    if (self != nullptr) {
        const rt::WindowId id = self->idOf(handle);
        if (id != 0) return self->onMessage(id, self->windows_[id], message, wParam, lParam);
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

LRESULT Win32Backend::onMessage(rt::WindowId id, Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    rt::Event event{rt::EventType::Expose, id};
    switch (message) {
        case WM_ERASEBKGND: return 1;  // every pixel is painted from the image: no flicker of black first
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window.handle, &ps);
            paint(window, dc);
            EndPaint(window.handle, &ps);
            return 0;
        }
        case WM_CLOSE:  // the close box, or Alt+F4: the runtime decides
            event.type = rt::EventType::Close;
            post(event);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
            event.type = message == WM_KEYDOWN ? rt::EventType::KeyDown : rt::EventType::KeyUp;
            event.key = static_cast<int>(wParam);
            event.repeat = message == WM_KEYDOWN && (lParam & (1L << 30)) != 0;
            if (message == WM_KEYDOWN)
                window.keysHeld.insert(event.key);
            else
                window.keysHeld.erase(event.key);
            post(event);
            return 0;
        case WM_KILLFOCUS:
            // Keys held when another window takes the keyboard are released here: their own key-up
            // goes to that other window.
            for (const int key : window.keysHeld) {
                rt::Event up{rt::EventType::KeyUp, id};
                up.key = key;
                post(up);
            }
            window.keysHeld.clear();
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
            event.type = down ? rt::EventType::MouseDown : rt::EventType::MouseUp;
            event.x = GET_X_LPARAM(lParam);
            event.y = GET_Y_LPARAM(lParam);
            event.button = mouseButton(message);
            if (down) lastPressed_ = id;
            post(event);
            return 0;
        }
        default: break;
    }
    return DefWindowProcW(window.handle, message, wParam, lParam);
}

LRESULT CALLBACK Win32Backend::notifyProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = ownerOf<Win32Backend>(handle, message, lParam);
    if (self != nullptr && message == kAnswerMessage) {
        rt::Event answer{rt::EventType::DialogAnswer, static_cast<rt::WindowId>(wParam)};
        answer.answer = static_cast<int>(lParam);
        self->post(answer);
        return 0;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

bool Win32Backend::pollEvent(rt::Event& out) {
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
    if (MessageBoxW(nullptr, widen(text).c_str(), widen(title).c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND) == 0)
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

}  // namespace win32
