// The desktop back-end: SDL2 windows shown from software surfaces, SDL events as the runtime's events,
// SDL2_ttf text with faces found through fontconfig, and a Yes/No dialog of our own.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "backend/sdl/sdl_gamepad.h"
#include "backend/sdl/sdl_present.h"
#include "runtime/backend.h"
#include "runtime/icon.h"
#include "runtime/program_identity.h"

struct SDL_Window;
struct SDL_Surface;
union SDL_Event;

namespace sdl {

class FontCache;
class QuestionDialog;

// SDL could not start: no display, or no video driver that works.
struct StartError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SdlBackend : public rt::Backend {
public:
    // Windows carry the program's icon; messages on standard error start with its command name. Every
    // window, the question's included, shows its pixels `scale` times larger (1 to 4; 0: the desktop's
    // own scale factor, rounded down): everything above sees the window at its own size. With
    // `fullScreen`, the windows start in full screen.
    SdlBackend(const rt::ProgramIdentity& identity, int scale, bool fullScreen = false);  // throws StartError

    int scale() const { return scale_; }
    // Whether the player has the windows in full screen (F11 or Alt+Enter switches, for every window).
    bool fullScreen() const { return fullScreen_; }
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    std::uint64_t monotonicMs() override;
    std::uint32_t tickCount() override;
    double secondsSinceMidnight() override;

    rt::WindowId createWindow(const rt::WindowSpec& layout) override;
    void showWindow(rt::WindowId id) override;
    void destroyWindow(rt::WindowId id) override;
    void setCaption(rt::WindowId id, const std::string& caption) override;
    bool present(rt::WindowId id, const rt::Surface& screen) override;
    void setMouseCapture(bool on) override;

    bool pollEvent(rt::Event& out) override;
    void waitForEvent(std::uint64_t untilMs) override;

    rt::WindowId openQuestion(const std::string& title, const std::string& prompt) override;
    void closeQuestion(rt::WindowId id) override;

    void drawLabelText(rt::Surface& screen, const rt::LabelText& label) override;
    void showError(const std::string& title, const std::string& text) override;

private:
    // Turns an SDL event into the runtime's; false for events the runtime has no use for, and for
    // those of a question dialog, which it handles itself (its answer becomes a DialogAnswer).
    bool translate(const SDL_Event& event, rt::Event& out);
    // A controller's buttons and stick as key events of the window that has the keyboard focus (the
    // question's included), added to pending_.
    void translatePad(const SDL_Event& event);
    bool nextEvent(rt::Event& out);  // the next event for the runtime, if any
    SDL_Window* windowOf(rt::WindowId id) const;
    FontCache& fonts();
    // Reduces the scale, for every window, so that one of this client size fits the screen.
    void fitScaleTo(int clientWidth, int clientHeight);
    // F11 or Alt+Enter, pressed or released in one of our windows: switches between the window and full
    // screen on the press. True when the event is such a key: nothing above sees it.
    bool takeScreenKey(const SDL_Event& event);
    void switchScreen(SDL_Window* pressedIn);
    void showInMode(SDL_Window* window, bool full);
    // Follows the window manager's full screen where it put the window in or out of it by itself.
    void followWindowManager(rt::WindowId id);
    // Where a window's image shows in it: at its scale, or at the scale that fits the full screen.
    Placement placementOf(rt::WindowId id) const;

    std::map<rt::WindowId, SDL_Window*> windows_;
    std::map<rt::WindowId, ShownFrame> shown_;  // what each window shows, to send only what changes
    // Each window's client size as everything above sees it.
    std::map<rt::WindowId, SDL_Point> imageSizes_;
    std::map<rt::WindowId, SDL_Point> windowedPlaces_;  // where F11 or Alt+Enter found each window
    // Whether the window manager last said each window was in full screen.
    std::map<rt::WindowId, bool> managerSaidFull_;
    std::map<rt::WindowId, std::unique_ptr<QuestionDialog>> questions_;
    std::deque<rt::Event> pending_;  // taken from SDL by a wait, handed out by the next poll
    Gamepads gamepads_;
    std::unique_ptr<FontCache> fonts_;
    std::string command_;  // the prefix of our messages on standard error
    int scale_ = 1;
    bool scaleAskedFor_ = false;             // by --scale; the desktop's own scale is reduced without a word
    std::vector<rt::IconImage> iconImages_;  // every size, for window managers that take several
    SDL_Surface* icon_ = nullptr;            // the largest, for SDL's own icon call
    rt::WindowId lastShown_ = 0;
    bool answeringPlayer_ = false;  // the event last handed out is the player's key or click
    // A window of ours lost the keyboard focus: once the focus has had time to settle (the game window's
    // focus-out comes a moment before the question's focus-in), whether any window of ours still has it.
    std::uint64_t focusCheckAtMs_ = rt::kWaitForever;
    bool focusLostToOthers();

    // The windows show in full screen; new ones too.
    bool fullScreen_ = false;
    // Scan codes of F11 and Alt+Enter pressed: their releases are ours too.
    std::vector<int> screenKeysHeld_;
};

}  // namespace sdl
