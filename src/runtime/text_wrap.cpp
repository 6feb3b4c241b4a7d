#include "runtime/text_wrap.h"

#include <algorithm>
#include <cctype>

namespace rt {

namespace {

void wrapParagraph(std::string_view para, int width, const std::function<int(std::string_view)>& measure,
                   std::vector<std::string>& lines) {
    if (para.empty()) {
        lines.emplace_back();
        return;
    }
    std::size_t pos = 0;
    while (pos < para.size()) {
        std::size_t fit = std::string_view::npos;  // end of the longest run of whole words that fits
        std::size_t cur = pos;
        while (cur < para.size()) {
            const std::size_t wordStart = para.find_first_not_of(' ', cur);
            if (wordStart == std::string_view::npos) {
                // Only spaces are left: they stay on the line when they fit (they were typed).
                if (fit == std::string_view::npos || measure(para.substr(pos)) <= width) fit = para.size();
                break;
            }
            std::size_t wordEnd = para.find(' ', wordStart);
            if (wordEnd == std::string_view::npos) wordEnd = para.size();
            if (measure(para.substr(pos, wordEnd - pos)) > width) {
                if (fit == std::string_view::npos) fit = wordEnd;  // a word too wide for any line
                break;
            }
            fit = wordEnd;
            cur = wordEnd;
        }
        lines.emplace_back(para.substr(pos, fit - pos));
        pos = para.find_first_not_of(' ', fit);
    }
}

}  // namespace

std::vector<std::string> wrapText(std::string_view text, int width,
                                  const std::function<int(std::string_view)>& measure) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find_first_of("\r\n", start);
        wrapParagraph(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start), width,
                      measure, lines);
        if (end == std::string_view::npos) break;
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        start = end + (crlf ? 2 : 1);
    }
    return lines;
}

const char* standInFace(std::string_view face) {
    auto is = [face](std::string_view name) {
        return face.size() == name.size() && std::equal(face.begin(), face.end(), name.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
               });
    };
    if (is("MS Sans Serif")) return "Liberation Sans";
    if (is("Courier New")) return "Liberation Mono";
    return nullptr;
}

}  // namespace rt
