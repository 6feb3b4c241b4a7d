#include "backend/win32/win32_text.h"

#include <algorithm>
#include <cstring>

namespace win32 {

std::wstring widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& utf16) {
    if (utf16.empty()) return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring withWindowsLineBreaks(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            out += L"\r\n";
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

LabelPainter::LabelPainter() { dc_ = CreateCompatibleDC(nullptr); }

LabelPainter::~LabelPainter() {
    for (auto& entry : fonts_) DeleteObject(entry.second);
    if (dc_ != nullptr) DeleteDC(dc_);
}

HFONT LabelPainter::font(const rt::FontSpec& wanted) {
    const auto key = std::make_tuple(wanted.face, wanted.pointSize, wanted.bold);
    const auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    // The face by name; where it is missing, GDI's mapper picks the nearest installed one of the same
    // kind: a monospaced face for Courier New, a sans-serif one for the others.
    const std::wstring face = widen(wanted.face);
    const bool monospaced = wanted.face.find("Courier") != std::string::npos;
    const BYTE kind = monospaced ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS;
    HFONT made = CreateFontW(-MulDiv(wanted.pointSize, kLabelDpi, 72), 0, 0, 0, wanted.bold ? FW_BOLD : FW_NORMAL,
                             FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, kind, face.c_str());
    fonts_[key] = made;
    return made;
}

void LabelPainter::draw(rt::Surface& screen, const rt::LabelText& label) {
    const rt::Rect box =
        rt::Rect::clipped(label.left, label.top, label.width, label.height, screen.width, screen.height);
    if (box.empty() || dc_ == nullptr) return;

    // A top-down 32-bit section of the label's whole rectangle: text wraps at the label's own width even
    // where the label reaches past the window.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = label.width;
    info.bmiHeader.biHeight = -label.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr) return;
    auto* pixels = static_cast<rt::Pixel*>(bits);
    const int dx = box.left - label.left, dy = box.top - label.top;
    for (int y = 0; y < box.height; ++y)
        std::memcpy(pixels + static_cast<std::size_t>(y + dy) * label.width + dx, &screen.at(box.left, box.top + y),
                    static_cast<std::size_t>(box.width) * sizeof(rt::Pixel));

    HGDIOBJ oldBitmap = SelectObject(dc_, section);
    HGDIOBJ oldFont = SelectObject(dc_, font(label.font));
    SetBkMode(dc_, TRANSPARENT);
    const rt::Pixel fore = label.fore;  // 0x00RRGGBB; GDI colours are 0x00BBGGRR
    SetTextColor(dc_, RGB((fore >> 16) & 0xFF, (fore >> 8) & 0xFF, fore & 0xFF));
    RECT rect{0, 0, label.width, label.height};
    std::wstring text = withWindowsLineBreaks(widen(label.text));
    DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &rect, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    GdiFlush();
    SelectObject(dc_, oldFont);
    SelectObject(dc_, oldBitmap);

    // GDI leaves the unused top byte of the pixels it writes as it likes: keep colours only.
    for (int y = 0; y < box.height; ++y) {
        const rt::Pixel* from = pixels + static_cast<std::size_t>(y + dy) * label.width + dx;
        rt::Pixel* to = &screen.at(box.left, box.top + y);
        for (int x = 0; x < box.width; ++x) to[x] = from[x] & 0x00FFFFFFu;
    }
    DeleteObject(section);
}

}  // namespace win32
