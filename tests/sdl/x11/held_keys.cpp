// In a real X window, with the X server's own auto-repeat: a key held since before the Yes/No question
// opened answers nothing, neither by its repeats nor by its release; the player's next press does.
// Keys are held and pressed with xdotool, on the display this runs on (tests/e2e/scenarios/question_held_keys.sh).
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "backend/sdl/sdl_backend.h"
#include "runtime/constants.h"
#include "runtime/surface.h"

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    if (!ok) ++failures;
}

void xdotool(const std::string& arguments) {
    const std::string command = "xdotool " + arguments;
    if (std::system(command.c_str()) != 0) check(false, command);
}

// Pumps the back-end's events for `ms`; returns the first answer of a question, or 0.
int pumpFor(sdl::SdlBackend& backend, Uint32 ms) {
    const Uint32 end = SDL_GetTicks() + ms;
    int answer = 0;
    while (!SDL_TICKS_PASSED(SDL_GetTicks(), end)) {
        rt::Event event;
        while (backend.pollEvent(event))
            if (event.type == rt::EventType::DialogAnswer && answer == 0) answer = event.answer;
        SDL_Delay(5);
    }
    return answer;
}

// Holds `key` in the game window until it repeats, opens the question, and answers it with `then`,
// a press after `key` was let go.
void heldThenAnswered(sdl::SdlBackend& backend, rt::WindowId game, const char* key, const char* then, int expected) {
    xdotool(std::string("keydown ") + key);
    pumpFor(backend, 900);  // the server's auto-repeat starts after its delay
    const rt::WindowId question = backend.openQuestion("DEAD!!!", "Do you want to play again?");
    check(pumpFor(backend, 1500) == 0, std::string(key) + " held from before: no answer while it repeats");
    xdotool(std::string("keyup ") + key);
    check(pumpFor(backend, 400) == 0, std::string(key) + " let go: its release answers nothing");
    xdotool(std::string("key ") + then);
    const int answer = pumpFor(backend, 1500);
    check(answer == expected, std::string(then) + " pressed afterwards answers " +
                                  (expected == rt::vbYes ? "Yes" : "No") + " (got " + std::to_string(answer) + ")");
    backend.closeQuestion(question);
    pumpFor(backend, 300);
    (void)game;
}

}  // namespace

int main() {
    sdl::SdlBackend backend({"Quorvex", "quorvex", {}}, 1);
    const rt::WindowId game = backend.createWindow({"Held keys", 600, 500});
    rt::Surface screen(600, 500);
    backend.showWindow(game);
    backend.present(game, screen);
    const Uint32 deadline = SDL_GetTicks() + 5000;
    while (SDL_GetKeyboardFocus() == nullptr && !SDL_TICKS_PASSED(SDL_GetTicks(), deadline)) pumpFor(backend, 50);
    check(SDL_GetKeyboardFocus() != nullptr, "the window has the keyboard focus");

    heldThenAnswered(backend, game, "Return", "n", rt::vbNo);
    heldThenAnswered(backend, game, "space", "n", rt::vbNo);
    heldThenAnswered(backend, game, "Right", "Return", rt::vbYes);  // the default did not move to No
    return failures == 0 ? 0 : 1;
}
