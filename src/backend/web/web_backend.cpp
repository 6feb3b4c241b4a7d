#include "backend/web/web_backend.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>

#include "runtime/text_wrap.h"

// The page's side of each call is a method of QuorvexPage (web/page.js); these are only the crossings.
// Strings go to the page as UTF-8 in the program's memory.

// clang-format off
EM_JS(double, web_now_ms, (), { return performance.now(); });
EM_JS(double, web_time_origin_ms, (), { return performance.timeOrigin; });
EM_JS(double, web_seconds_since_midnight, (), { return QuorvexPage.secondsSinceMidnight(); });
EM_JS(void, web_create_window, (int id, int width, int height, const char* caption), {
    QuorvexPage.createWindow(id, width, height, UTF8ToString(caption));
});
EM_JS(void, web_show_window, (int id), { QuorvexPage.showWindow(id); });
EM_JS(void, web_destroy_window, (int id), { QuorvexPage.destroyWindow(id); });
EM_JS(void, web_set_caption, (int id, const char* caption), { QuorvexPage.setCaption(id, UTF8ToString(caption)); });
EM_JS(int, web_present, (int id, const void* rgba, int width, int height, int firstRow, int rows), {
    return QuorvexPage.present(id, HEAPU8, rgba, width, height, firstRow, rows) ? 1 : 0;
});
EM_JS(int, web_next_event, (int* out), { return QuorvexPage.nextEvent(HEAP32, out >> 2) ? 1 : 0; });
EM_JS(int, web_has_event, (), { return QuorvexPage.hasEvent() ? 1 : 0; });
EM_ASYNC_JS(void, web_wait_until, (double deadline), { await QuorvexPage.waitUntil(deadline); });
EM_ASYNC_JS(void, web_yield, (), { await QuorvexPage.yieldToPage(); });
EM_JS(void, web_open_question, (int id, const char* title, const char* prompt), {
    QuorvexPage.openQuestion(id, UTF8ToString(title), UTF8ToString(prompt));
});
EM_JS(void, web_close_question, (int id), { QuorvexPage.closeQuestion(id); });
EM_ASYNC_JS(void, web_show_error, (const char* title, const char* text), {
    await QuorvexPage.showError(UTF8ToString(title), UTF8ToString(text));
});
EM_JS(int, web_font, (const char* face, int pixels, int bold), {
    return QuorvexPage.font(UTF8ToString(face), pixels, bold !== 0);
});
EM_JS(int, web_line_height, (int font), { return QuorvexPage.lineHeight(font); });
EM_JS(int, web_text_width, (int font, const char* text), { return QuorvexPage.textWidth(font, UTF8ToString(text)); });
EM_JS(int, web_render_line, (int font, const char* text, void* coverage, int width, int height), {
    return QuorvexPage.renderLine(font, UTF8ToString(text), HEAPU8, coverage, width, height);
});
// clang-format on

namespace web {

namespace {

// The program yields to the page at least this often while it spins, so that the page stays alive.
constexpr std::uint64_t kYieldEveryMs = 4;
constexpr std::size_t kMaxCached = 256;
constexpr std::size_t kMaxLineBytes = 512 * 1024;

// The runtime's 0x00RRGGBB as the canvas's bytes R, G, B, A (a little-endian word 0xAABBGGRR).
std::uint32_t pageWord(rt::Pixel pixel) {
    return 0xFF000000u | ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}

// The faces the system names, as the page ships them: the stand-ins the desktop takes, and Liberation
// Sans for any other.
const char* pageFace(const std::string& face) {
    const char* standIn = rt::standInFace(face);
    return standIn != nullptr ? standIn : "Liberation Sans";
}

}  // namespace

// The counter reads the page's clock since the epoch, as 32 bits: it wraps every 49.7 days, as the
// system's does.
WebBackend::WebBackend(const rt::ProgramIdentity&)
    : tickBase_(static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::fmod(web_time_origin_ms(), 4294967296.0)))) {
}

WebBackend::~WebBackend() {
    for (const auto& [id, window] : windows_) web_destroy_window(static_cast<int>(id));
}

std::uint64_t WebBackend::monotonicMs() { return static_cast<std::uint64_t>(web_now_ms()); }

std::uint32_t WebBackend::tickCount() { return tickBase_ + static_cast<std::uint32_t>(monotonicMs()); }

double WebBackend::secondsSinceMidnight() { return web_seconds_since_midnight(); }

rt::WindowId WebBackend::createWindow(const rt::WindowSpec& layout) {
    const rt::WindowId id = nextWindow_++;
    Window& window = windows_[id];
    window.width = layout.clientWidth;
    window.height = layout.clientHeight;
    // Nothing yet: a page word is never 0 (its alpha is opaque), so every row of the first frame differs.
    window.shown.assign(static_cast<std::size_t>(window.width) * static_cast<std::size_t>(window.height), 0);
    web_create_window(static_cast<int>(id), window.width, window.height, layout.caption.c_str());
    return id;
}

void WebBackend::showWindow(rt::WindowId id) {
    if (windows_.count(id) != 0) web_show_window(static_cast<int>(id));
}

void WebBackend::destroyWindow(rt::WindowId id) {
    if (windows_.erase(id) != 0) web_destroy_window(static_cast<int>(id));
}

void WebBackend::setCaption(rt::WindowId id, const std::string& caption) {
    if (windows_.count(id) != 0) web_set_caption(static_cast<int>(id), caption.c_str());
}

bool WebBackend::present(rt::WindowId id, const rt::Surface& screen) {
    const auto it = windows_.find(id);
    if (it == windows_.end()) return false;
    Window& window = it->second;
    if (screen.width != window.width || screen.height != window.height) return false;
    const std::size_t width = static_cast<std::size_t>(screen.width);
    // Each row is converted into what the canvas holds; only the rows from the first that changed to the
    // last that changed go to the canvas. The whole row, without stopping at the first difference, so
    // that the compiler takes four pixels at a time.
    int first = -1, last = -1;
    for (int y = 0; y < screen.height; ++y) {
        const rt::Pixel* from = &screen.at(0, y);
        std::uint32_t* into = &window.shown[static_cast<std::size_t>(y) * width];
        std::uint32_t differ = 0;
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t word = pageWord(from[x]);
            differ |= word ^ into[x];
            into[x] = word;
        }
        if (differ == 0) continue;
        if (first < 0) first = y;
        last = y;
    }
    if (first < 0) return true;  // the canvas already shows it
    return web_present(static_cast<int>(id), window.shown.data(), screen.width, screen.height, first,
                       last - first + 1) != 0;
}

void WebBackend::yieldIfDue() {
    const std::uint64_t now = monotonicMs();
    if (now - lastYieldMs_ < kYieldEveryMs) return;
    web_yield();
    lastYieldMs_ = monotonicMs();
}

bool WebBackend::pollEvent(rt::Event& out) {
    yieldIfDue();
    int fields[8] = {};
    if (web_next_event(fields) == 0) return false;
    out = rt::Event{static_cast<rt::EventType>(fields[0]), static_cast<rt::WindowId>(fields[1])};
    out.key = fields[2];
    out.repeat = fields[3] != 0;
    out.x = fields[4];
    out.y = fields[5];
    out.button = fields[6];
    out.answer = fields[7];
    return true;
}

void WebBackend::waitForEvent(std::uint64_t untilMs) {
    if (web_has_event() != 0) return;
    if (untilMs == rt::kWaitForever) {
        web_wait_until(-1);
    } else {
        const std::uint64_t now = monotonicMs();
        if (now >= untilMs) return;
        // A wait of several milliseconds ends a quarter of one early: the passes made up for the
        // milliseconds slept through take about that, and the frame that follows is then on time. (Half
        // a millisecond left the page spinning through the rest; without, four frames in ten were late.)
        web_wait_until(static_cast<double>(untilMs) - (untilMs - now >= 3 ? 0.25 : 0));
    }
    lastYieldMs_ = monotonicMs();
}

rt::WindowId WebBackend::openQuestion(const std::string& title, const std::string& prompt) {
    const rt::WindowId id = nextWindow_++;
    web_open_question(static_cast<int>(id), title.c_str(), prompt.c_str());
    return id;
}

void WebBackend::closeQuestion(rt::WindowId id) { web_close_question(static_cast<int>(id)); }

void WebBackend::showError(const std::string& title, const std::string& text) {
    web_show_error(title.c_str(), text.c_str());
}

// ---- text ----

int WebBackend::fontOf(const rt::FontSpec& font) {
    const auto key = std::make_tuple(font.face, font.pointSize, font.bold);
    if (const auto it = fonts_.find(key); it != fonts_.end()) return it->second;
    // Points at 96 dots an inch, as the desktop sizes them.
    const int pixels = std::max(1, static_cast<int>(std::lround(font.pointSize * 96.0 / 72.0)));
    const int handle = web_font(pageFace(font.face), pixels, font.bold ? 1 : 0);
    fonts_.emplace(key, handle);
    return handle;
}

int WebBackend::textWidth(int font, const std::string& text) {
    if (text.empty()) return 0;
    auto key = std::make_pair(font, text);
    if (const auto it = widths_.find(key); it != widths_.end()) return it->second;
    if (widths_.size() >= kMaxCached) widths_.clear();
    const int width = web_text_width(font, text.c_str());
    widths_.emplace(std::move(key), width);
    return width;
}

const WebBackend::Line& WebBackend::renderLine(int font, const std::string& text, int height) {
    auto key = std::make_pair(font, text);
    if (const auto it = lines_.find(key); it != lines_.end()) return it->second;
    if (lines_.size() >= kMaxCached || lineBytes_ >= kMaxLineBytes) {
        lines_.clear();
        lineBytes_ = 0;
    }
    Line line;
    // Room for the glyphs' overhang past the measured width on either side.
    const int room = textWidth(font, text) + 2 * height;
    line.coverage.assign(static_cast<std::size_t>(room) * static_cast<std::size_t>(height), 0);
    line.width = web_render_line(font, text.c_str(), line.coverage.data(), room, height);
    lineBytes_ += line.coverage.size();
    return lines_.emplace(std::move(key), std::move(line)).first->second;
}

void WebBackend::drawLabelText(rt::Surface& screen, const rt::LabelText& label) {
    if (label.width <= 0 || label.height <= 0 || label.text.empty()) return;
    const int font = fontOf(label.font);
    const int step = web_line_height(font);
    if (font < 0 || step <= 0) return;
    const rt::Rect clip =
        rt::Rect::clipped(label.left, label.top, label.width, label.height, screen.width, screen.height);
    if (clip.empty()) return;
    int y = label.top;
    const auto measure = [&](std::string_view s) { return textWidth(font, std::string(s)); };
    for (const std::string& text : rt::wrapText(label.text, label.width, measure)) {
        if (y >= clip.top + clip.height) break;
        if (!text.empty()) {
            const Line& line = renderLine(font, text, step);
            const int room = static_cast<int>(line.coverage.size()) / step;
            // The line's text starts `step` pixels into its room; centred as its measured width.
            const int x = label.left + (label.width - line.width) / 2 - step;
            rt::blendThrough(screen, x, y, room, step, label.fore, clip, [&](int column, int row) {
                return line.coverage[static_cast<std::size_t>(row) * room + column];
            });
        }
        y += step;
    }
}

}  // namespace web
