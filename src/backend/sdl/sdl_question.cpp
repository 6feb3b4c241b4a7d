#include "backend/sdl/sdl_question.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>

#include "backend/sdl/sdl_present.h"
#include "backend/sdl/sdl_window_frame.h"
#include "backend/sdl/sdl_x11_keyboard.h"
#include "runtime/constants.h"

namespace sdl {

namespace {

// Layout in pixels.
constexpr int kMargin = 24;
constexpr int kIconSize = 32;
constexpr int kIconGap = 14;
constexpr int kMaxTextWidth = 380;
constexpr int kMinWidth = 260;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 8;
constexpr int kStripPadding = 11;

// Colours.
constexpr rt::Pixel kContentBack = rt::rgb(255, 255, 255);
constexpr rt::Pixel kStripBack = rt::rgb(240, 240, 240);
constexpr rt::Pixel kText = rt::rgb(0, 0, 0);
constexpr rt::Pixel kIconDisc = rt::rgb(30, 100, 200);
constexpr rt::Pixel kErrorDisc = rt::rgb(200, 30, 30);
constexpr rt::Pixel kIconMark = rt::rgb(255, 255, 255);
constexpr rt::Pixel kButtonBorder = rt::rgb(173, 173, 173);
constexpr rt::Pixel kButtonFace = rt::rgb(225, 225, 225);
constexpr rt::Pixel kHotBorder = rt::rgb(0, 120, 215);
constexpr rt::Pixel kHotFace = rt::rgb(229, 241, 251);
constexpr rt::Pixel kPressedBorder = rt::rgb(0, 84, 153);
constexpr rt::Pixel kPressedFace = rt::rgb(204, 228, 247);

const rt::FontSpec kPromptFont{"MS Sans Serif", 9, false};
const rt::FontSpec kMarkFont{"MS Sans Serif", 17, true};

void fillRect(rt::Surface& s, const TextBox& r, rt::Pixel colour) {
    const int x0 = std::max(0, r.left), y0 = std::max(0, r.top);
    const int x1 = std::min(s.width, r.left + r.width), y1 = std::min(s.height, r.top + r.height);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) s.at(x, y) = colour;
}

void frameRect(rt::Surface& s, const TextBox& r, rt::Pixel colour) {
    fillRect(s, {r.left, r.top, r.width, 1}, colour);
    fillRect(s, {r.left, r.top + r.height - 1, r.width, 1}, colour);
    fillRect(s, {r.left, r.top, 1, r.height}, colour);
    fillRect(s, {r.left + r.width - 1, r.top, 1, r.height}, colour);
}

TextBox inset(const TextBox& r, int by) { return {r.left + by, r.top + by, r.width - 2 * by, r.height - 2 * by}; }

bool inside(const TextBox& r, int x, int y) {
    return x >= r.left && y >= r.top && x < r.left + r.width && y < r.top + r.height;
}

rt::Pixel mix(rt::Pixel a, rt::Pixel b, int partsOfA, int parts) {
    auto channel = [&](int shift) {
        const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
        return static_cast<rt::Pixel>((ca * partsOfA + cb * (parts - partsOfA) + parts / 2) / parts) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

// A disc filling the box, its edge smoothed by 4 x 4 samples per pixel.
void drawDisc(rt::Surface& s, const TextBox& box, rt::Pixel colour) {
    const double cx = box.left + box.width / 2.0, cy = box.top + box.height / 2.0, r = box.width / 2.0;
    for (int y = box.top; y < box.top + box.height; ++y)
        for (int x = box.left; x < box.left + box.width; ++x) {
            int covered = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    const double dx = x + (sx + 0.5) / 4 - cx, dy = y + (sy + 0.5) / 4 - cy;
                    if (dx * dx + dy * dy <= r * r) ++covered;
                }
            if (covered > 0 && x >= 0 && y >= 0 && x < s.width && y < s.height)
                s.at(x, y) = mix(colour, s.at(x, y), covered, 16);
        }
}

}  // namespace

namespace {
std::size_t scanCodeOf(const SDL_Event& event) {
    return static_cast<std::size_t>(std::clamp<int>(event.key.keysym.scancode, 0, SDL_NUM_SCANCODES - 1));
}
}  // namespace

QuestionDialog::QuestionDialog(FontCache& fonts, const std::string& title, const std::string& prompt,
                               SDL_Window* parent, int scale, DialogKind kind)
    : fonts_(fonts), prompt_(prompt), scale_(std::max(1, scale)), kind_(kind) {
    static_assert(SDL_NUM_SCANCODES <= 512);
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    for (int code = 0; code < count && code < SDL_NUM_SCANCODES; ++code)
        if (keys[code] != 0) heldAtOpen_.set(static_cast<std::size_t>(code));
    TTF_Font* font = fonts_.open(kPromptFont);
    const auto measure = [&](std::string_view s) { return fonts_.textWidth(font, s); };
    const std::vector<std::string> lines = wrapText(prompt_, kMaxTextWidth, measure);
    int textW = 0;
    for (const std::string& line : lines) textW = std::max(textW, measure(line));
    textW = std::min(textW, kMaxTextWidth);  // a single word wider than that is clipped
    const int lineH = lineHeight(font);
    const int textH = static_cast<int>(lines.size()) * lineH;

    const int textLeft = kMargin + kIconSize + kIconGap;
    const int buttonsW = 2 * kButtonWidth + kButtonGap + 2 * kStripPadding;
    const int width = std::max({kMinWidth, buttonsW, textLeft + textW + kMargin + 6});
    const int contentH = kMargin + std::max(kIconSize, textH) + kMargin;
    stripTop_ = contentH;
    const int height = contentH + kButtonHeight + 2 * kStripPadding;

    icon_ = {kMargin, kMargin, kIconSize, kIconSize};
    // A short prompt sits level with the icon's middle.
    text_ = {textLeft, kMargin + std::max(0, (kIconSize - textH) / 2), kMaxTextWidth, textH + 2};  // + descent
    no_ = {width - kStripPadding - kButtonWidth, contentH + kStripPadding, kButtonWidth, kButtonHeight};
    yes_ = {no_.left - kButtonGap - kButtonWidth, no_.top, kButtonWidth, kButtonHeight};
    if (kind_ == DialogKind::Error) {
        yes_ = no_;  // OK alone, at the right
        no_ = {};
    }
    image_ = rt::Surface(width, height, kContentBack);

    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
    if (parent != nullptr) {
        int px = 0, py = 0, pw = 0, ph = 0;
        SDL_GetWindowPosition(parent, &px, &py);
        SDL_GetWindowSize(parent, &pw, &ph);
        x = px + (pw - width * scale_) / 2;
        y = py + (ph - height * scale_) / 2;
    }
    const Uint32 flags = SDL_WINDOW_HIDDEN | (parent != nullptr ? SDL_WINDOW_SKIP_TASKBAR : 0);
    window_ = SDL_CreateWindow(title.c_str(), x, y, width * scale_, height * scale_, flags);
    if (window_ == nullptr) return;
    // The question must be answered: its close box would do nothing. An error box closes like OK.
    useFixedFrame(window_, kind_ == DialogKind::Question ? CloseBox::Hidden : CloseBox::Shown);
    if (parent != nullptr) SDL_SetWindowModalFor(window_, parent);  // kept above it; not every system can
    draw();
}

QuestionDialog::~QuestionDialog() {
    if (pressed_ != Button::None) SDL_CaptureMouse(SDL_FALSE);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
}

std::uint32_t QuestionDialog::id() const { return window_ != nullptr ? SDL_GetWindowID(window_) : 0; }

void QuestionDialog::show() {
    if (window_ == nullptr) return;
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    present();
}

QuestionDialog::Button QuestionDialog::buttonAt(int x, int y) const {
    if (inside(yes_, x, y)) return Button::Yes;
    if (inside(no_, x, y)) return Button::No;
    return Button::None;
}

int QuestionDialog::answer(Button button) {
    if (answered_ || button == Button::None) return 0;
    answered_ = true;
    if (kind_ == DialogKind::Error) return rt::vbOK;
    return button == Button::Yes ? rt::vbYes : rt::vbNo;
}

int QuestionDialog::handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_RESTORED: present(); break;
                case SDL_WINDOWEVENT_LEAVE:
                    if (hover_ != Button::None) {
                        hover_ = Button::None;
                        draw();
                    }
                    break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    // A key let go before the dialog had the focus answers again at its next press.
                    for (std::size_t code = 0; code < heldAtOpen_.size(); ++code)
                        if (heldAtOpen_.test(code) &&
                            keyCertainlyUp(window_, SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(code))))
                            heldAtOpen_.reset(code);
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    if (kind_ == DialogKind::Error) return answer(Button::Yes);
                    break;  // the question must be answered
                default: break;
            }
            return 0;
        case SDL_MOUSEMOTION: {
            const Button at = buttonAt(unscale(event.motion.x, scale_), unscale(event.motion.y, scale_));
            if (at != hover_) {
                hover_ = at;
                draw();
            }
            return 0;
        }
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button != SDL_BUTTON_LEFT) return 0;
            pressed_ = buttonAt(unscale(event.button.x, scale_), unscale(event.button.y, scale_));
            if (pressed_ != Button::None) {
                focus_ = pressed_;
                SDL_CaptureMouse(SDL_TRUE);
                draw();
            }
            return 0;
        case SDL_MOUSEBUTTONUP: {
            if (event.button.button != SDL_BUTTON_LEFT || pressed_ == Button::None) return 0;
            const Button was = pressed_;
            pressed_ = Button::None;
            SDL_CaptureMouse(SDL_FALSE);
            hover_ = buttonAt(unscale(event.button.x, scale_), unscale(event.button.y, scale_));
            draw();
            // A click counts only when released over the button it pressed.
            return hover_ == was ? answer(was) : 0;
        }
        case SDL_KEYDOWN:
            // An auto-repeat, or a key held since before the dialog opened, answers nothing.
            if (event.key.repeat != 0 || heldAtOpen_.test(scanCodeOf(event))) return 0;
            if (kind_ == DialogKind::Error) {
                switch (event.key.keysym.sym) {
                    case SDLK_RETURN:
                    case SDLK_KP_ENTER:
                    case SDLK_ESCAPE:
                    case SDLK_SPACE: return answer(Button::Yes);
                    default: return 0;
                }
            }
            switch (event.key.keysym.sym) {
                case SDLK_y: return answer(Button::Yes);
                case SDLK_n: return answer(Button::No);
                case SDLK_RETURN:
                case SDLK_KP_ENTER: return answer(focus_);
                case SDLK_SPACE:
                    spaceHeld_ = true;
                    draw();
                    return 0;
                case SDLK_TAB:
                case SDLK_LEFT:
                case SDLK_RIGHT:
                case SDLK_UP:
                case SDLK_DOWN:
                    focus_ = focus_ == Button::Yes ? Button::No : Button::Yes;
                    spaceHeld_ = false;
                    draw();
                    return 0;
                default: return 0;
            }
        case SDL_KEYUP:
            if (heldAtOpen_.test(scanCodeOf(event))) {
                heldAtOpen_.reset(scanCodeOf(event));  // its next press is the player's own
                return 0;
            }
            if (event.key.keysym.sym == SDLK_SPACE && spaceHeld_) {
                spaceHeld_ = false;
                draw();
                return answer(focus_);
            }
            return 0;
        default: return 0;
    }
}

void QuestionDialog::drawButton(const TextBox& box, const char* text, Button which) {
    const bool pressed = (pressed_ == which && hover_ == which) || (spaceHeld_ && focus_ == which);
    const bool hot = hover_ == which && pressed_ == Button::None;
    const rt::Pixel face = pressed ? kPressedFace : hot ? kHotFace : kButtonFace;
    const rt::Pixel border = pressed ? kPressedBorder : (hot || focus_ == which) ? kHotBorder : kButtonBorder;
    fillRect(image_, box, face);
    frameRect(image_, box, border);
    if (focus_ == which) frameRect(image_, inset(box, 1), border);  // the default (focused) button
    TTF_Font* font = fonts_.open(kPromptFont);
    const int lineH = lineHeight(font);
    fonts_.drawText(image_, font, {box.left, box.top + (box.height - lineH) / 2, box.width, lineH + 1}, text, kText,
                    Align::Centre);
}

void QuestionDialog::draw() {
    fillRect(image_, {0, 0, image_.width, stripTop_}, kContentBack);
    fillRect(image_, {0, stripTop_, image_.width, image_.height - stripTop_}, kStripBack);

    const bool error = kind_ == DialogKind::Error;
    drawDisc(image_, icon_, error ? kErrorDisc : kIconDisc);
    TTF_Font* markFont = fonts_.open(kMarkFont);
    const int markH = lineHeight(markFont);
    fonts_.drawText(image_, markFont, {icon_.left, icon_.top + (icon_.height - markH) / 2, icon_.width, markH + 1},
                    error ? "X" : "?", kIconMark, Align::Centre);

    fonts_.drawText(image_, fonts_.open(kPromptFont), text_, prompt_, kText, Align::Left);
    if (error) {
        drawButton(yes_, "OK", Button::Yes);
    } else {
        drawButton(yes_, "Yes", Button::Yes);
        drawButton(no_, "No", Button::No);
    }
    present();
}

void QuestionDialog::present() {
    if (window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0)
        presentImage(window_, image_, scale_);
}

}  // namespace sdl
