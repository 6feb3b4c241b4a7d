// Fonts and text for the SDL back-end: faces found through fontconfig, opened with SDL2_ttf, and
// text wrapped and blended onto a window's composed image.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "runtime/backend.h"
#include "runtime/surface.h"
#include "runtime/text_wrap.h"

typedef struct _TTF_Font TTF_Font;
typedef struct _FcConfig FcConfig;
struct SDL_Surface;

namespace sdl {

using rt::wrapText;

struct TextBox {
    int left = 0, top = 0, width = 0, height = 0;
};

enum class Align { Left, Centre };

class FontCache {
public:
    // Messages on standard error start with `command`.
    explicit FontCache(std::string command);
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The installed face that stands for `wanted`, at its size in pixels. Opened once and kept.
    // Null only when no usable font is installed at all.
    TTF_Font* open(const rt::FontSpec& wanted);

    // Width of one line of text in pixels (0 without a font).
    int textWidth(TTF_Font* font, std::string_view text);

    // Draws text wrapped at the box's width, its lines from the top of the box, each line aligned
    // within the box, antialiased onto what is already there, clipped to the box and to the surface.
    void drawText(rt::Surface& target, TTF_Font* font, const TextBox& box, std::string_view text, rt::Pixel colour,
                  Align align);

private:
    std::string findFile(const rt::FontSpec& wanted, int& index, bool& boldFace) const;
    const SDL_Surface* renderLine(TTF_Font* font, const std::string& line);

    std::string command_;
    bool warned_ = false;  // the fallback to any face has been said
    FcConfig* config_ = nullptr;
    std::map<std::tuple<std::string, int, bool>, TTF_Font*> fonts_;
    // The typewriter text is laid out again on every frame, one character longer each time: widths
    // and rendered lines are kept so that only what changed is measured and rendered again.
    std::map<std::pair<TTF_Font*, std::string>, int> widths_;
    std::map<std::pair<TTF_Font*, std::string>, SDL_Surface*> lines_;
    std::size_t lineBytes_ = 0;  // the pixels held by lines_
};

// Distance between the tops of two lines: the face's ascent plus its descent, with no extra leading.
int lineHeight(TTF_Font* font);

}  // namespace sdl
