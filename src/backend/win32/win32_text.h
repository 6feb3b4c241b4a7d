// Text for the Win32 back-end: UTF-8 to and from the API's UTF-16, and label text drawn with GDI.
#pragma once

#include "backend/win32/windows_api.h"

#include <map>
#include <string>
#include <tuple>

#include "runtime/backend.h"
#include "runtime/surface.h"

namespace win32 {

std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& utf16);

// The system's line breaks (a carriage return alone ends a line too) as the API's "\r\n".
std::wstring withWindowsLineBreaks(const std::wstring& text);

// Label text: each label's face and size opened once, the text drawn by DrawTextW onto a copy of the
// label's rectangle, centred and wrapped at its width, then copied back into the composed image.
class LabelPainter {
public:
    LabelPainter();
    ~LabelPainter();
    LabelPainter(const LabelPainter&) = delete;
    LabelPainter& operator=(const LabelPainter&) = delete;

    void draw(rt::Surface& screen, const rt::LabelText& label);

private:
    HFONT font(const rt::FontSpec& wanted);

    HDC dc_ = nullptr;
    // Labels are laid out in the window's own pixels, at 96 per inch whatever the screen's DPI: the
    // window's scale enlarges them with everything else.
    static constexpr int kLabelDpi = 96;
    std::map<std::tuple<std::string, int, bool>, HFONT> fonts_;
};

}  // namespace win32
