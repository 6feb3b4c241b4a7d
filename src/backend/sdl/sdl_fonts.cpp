#include "backend/sdl/sdl_fonts.h"
#include "backend/sdl/sdl_memory.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace sdl {

namespace {

// The faces the system names, by metric-compatible stand-ins; a generic family after each, for
// machines without them.
std::pair<std::string, const char*> familiesFor(const rt::FontSpec& wanted) {
    if (const char* standIn = rt::standInFace(wanted.face))
        return {standIn, std::string_view(standIn) == "Liberation Mono" ? "monospace" : "sans-serif"};
    return {wanted.face, "sans-serif"};
}

// Any font file in the usual folders, for a system whose font configuration finds none: a face whose
// file name says what is wanted ("Mono" for a monospaced one, "Sans" otherwise), then an upright one (no
// "Italic" or "Oblique": every text here is upright), then one of the wanted weight ("Bold" when bold),
// then the first by path. Empty when there is no font file at all.
std::string anyFontFile(bool monospaced, bool bold) {
    namespace fs = std::filesystem;
    std::vector<fs::path> roots{"/usr/share/fonts", "/usr/local/share/fonts"};
    if (const char* home = std::getenv("HOME")) {
        roots.push_back(fs::path(home) / ".local/share/fonts");
        roots.push_back(fs::path(home) / ".fonts");
    }
    std::string best;
    int bestScore = -1;
    for (const fs::path& root : roots) {
        std::error_code error;
        for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error), end;
             !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            const std::string ext = it->path().extension().string();
            if (ext != ".ttf" && ext != ".otf" && ext != ".TTF" && ext != ".OTF") continue;
            const bool slanted = name.find("Italic") != std::string::npos || name.find("Oblique") != std::string::npos;
            const int score = (name.find(monospaced ? "Mono" : "Sans") != std::string::npos ? 4 : 0) +
                              (slanted ? 0 : 2) + ((name.find("Bold") != std::string::npos) == bold ? 1 : 0);
            const std::string path = it->path().string();
            if (score > bestScore || (score == bestScore && path < best)) {
                best = path;
                bestScore = score;
            }
        }
    }
    return best;
}

constexpr std::size_t kMaxCached = 256;  // entries per cache; it starts afresh when full
// Rendered lines are kept up to this many bytes: the typewriter's lines, one character longer each
// frame, would otherwise hold megabytes for the rest of the run.
constexpr std::size_t kMaxLineBytes = 512 * 1024;

}  // namespace

FontCache::FontCache(std::string command) : command_(std::move(command)) {
    // The font configuration's reader crashes instead of failing when memory runs out while it reads the
    // configuration: only start it with room to spare, else this is the program running out of memory.
    requireRoom(kRoomToStartALibrary);
    config_ = FcInitLoadConfigAndFonts();
}

FontCache::~FontCache() {
    for (auto& [key, line] : lines_) SDL_FreeSurface(line);
    for (auto& [key, font] : fonts_)
        if (font != nullptr) TTF_CloseFont(font);
    if (config_ != nullptr) FcConfigDestroy(config_);
}

std::string FontCache::findFile(const rt::FontSpec& wanted, int& index, bool& boldFace) const {
    if (config_ == nullptr) return {};
    const auto [family, generic] = familiesFor(wanted);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(generic));
    FcPatternAddInteger(pattern, FC_WEIGHT, wanted.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config_, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return {};
    std::string file;
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr)
        file = reinterpret_cast<const char*>(path);
    index = 0;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    boldFace = weight >= FC_WEIGHT_DEMIBOLD;
    FcPatternDestroy(match);
    return file;
}

TTF_Font* FontCache::open(const rt::FontSpec& wanted) {
    const auto key = std::make_tuple(wanted.face, wanted.pointSize, wanted.bold);
    if (const auto it = fonts_.find(key); it != fonts_.end()) return it->second;
    int index = 0;
    bool boldFace = false;
    std::string file = findFile(wanted, index, boldFace);
    TTF_Font* font = nullptr;
    if (!file.empty()) font = TTF_OpenFontIndexDPI(file.c_str(), std::max(1, wanted.pointSize), index, 96, 96);
    if (font == nullptr) {
        // The font configuration finds nothing usable: any face the system has, said once.
        const bool monospaced = std::string_view(familiesFor(wanted).second) == "monospace";
        file = anyFontFile(monospaced, wanted.bold);
        index = 0;
        boldFace = file.find("Bold") != std::string::npos;
        if (!file.empty()) font = TTF_OpenFontDPI(file.c_str(), std::max(1, wanted.pointSize), 96, 96);
        if (!warned_) {
            warned_ = true;
            if (font != nullptr)
                std::fprintf(stderr, "%s: no font found through the font configuration; using %s\n", command_.c_str(),
                             file.c_str());
            else
                std::fprintf(stderr, "%s: no usable font is installed: text will not show\n", command_.c_str());
        }
    }
    // A bold face asked for and only a regular one installed: embolden it.
    if (font != nullptr && wanted.bold && !boldFace) TTF_SetFontStyle(font, TTF_STYLE_BOLD);
    fonts_.emplace(key, font);  // a failure is remembered too, so it is not looked up on every frame
    return font;
}

int FontCache::textWidth(TTF_Font* font, std::string_view text) {
    if (font == nullptr || text.empty()) return 0;
    auto key = std::make_pair(font, std::string(text));
    if (const auto it = widths_.find(key); it != widths_.end()) return it->second;
    if (widths_.size() >= kMaxCached) widths_.clear();
    int w = 0, h = 0;
    if (TTF_SizeUTF8(font, key.second.c_str(), &w, &h) != 0) w = 0;
    widths_.emplace(std::move(key), w);
    return w;
}

const SDL_Surface* FontCache::renderLine(TTF_Font* font, const std::string& line) {
    auto key = std::make_pair(font, line);
    if (const auto it = lines_.find(key); it != lines_.end()) return it->second;
    if (lines_.size() >= kMaxCached || lineBytes_ >= kMaxLineBytes) {
        for (auto& [k, surface] : lines_) SDL_FreeSurface(surface);
        lines_.clear();
        lineBytes_ = 0;
    }
    // Rendered in white: only the coverage (alpha) is used; the colour is applied when blending.
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, line.c_str(), SDL_Color{255, 255, 255, 255});
    if (rendered != nullptr && rendered->format->format != SDL_PIXELFORMAT_ARGB8888) {
        SDL_Surface* converted = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(rendered);
        rendered = converted;
    }
    if (rendered != nullptr && SDL_MUSTLOCK(rendered)) {  // kept unlocked-readable or not at all
        SDL_FreeSurface(rendered);
        rendered = nullptr;
    }
    if (rendered != nullptr) lineBytes_ += static_cast<std::size_t>(rendered->pitch) * rendered->h;
    lines_.emplace(std::move(key), rendered);
    return rendered;
}

int lineHeight(TTF_Font* font) {
    // Rendered lines are taller than this by a pixel of empty descent space: lines laid out for the
    // system's faces, ten of them in a 181-pixel label, only fit at this spacing.
    return font == nullptr ? 0 : TTF_FontAscent(font) - TTF_FontDescent(font);
}

void FontCache::drawText(rt::Surface& target, TTF_Font* font, const TextBox& box, std::string_view text,
                         rt::Pixel colour, Align align) {
    if (font == nullptr || box.width <= 0 || box.height <= 0) return;
    const rt::Rect clip = rt::Rect::clipped(box.left, box.top, box.width, box.height, target.width, target.height);
    if (clip.empty()) return;
    const int step = lineHeight(font);
    int y = box.top;
    for (const std::string& line : wrapText(text, box.width, [&](std::string_view s) { return textWidth(font, s); })) {
        if (y >= clip.top + clip.height) break;
        if (const SDL_Surface* rendered = line.empty() ? nullptr : renderLine(font, line)) {
            // A line wider than the box is centred all the same and clipped on both sides.
            const int x = align == Align::Centre ? box.left + (box.width - rendered->w) / 2 : box.left;
            const auto* pixels = static_cast<const Uint8*>(rendered->pixels);
            const std::ptrdiff_t pitch = rendered->pitch;
            rt::blendThrough(target, x, y, rendered->w, rendered->h, colour, clip, [&](int column, int row) {
                return reinterpret_cast<const Uint32*>(pixels + row * pitch)[column] >> 24;  // alpha: the coverage
            });
        }
        y += step;
    }
}

}  // namespace sdl
