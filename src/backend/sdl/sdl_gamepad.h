// Game controllers as keys. SDL's game controller layer names the buttons alike on every pad; this turns
// them into the keys a player would press: the D-pad and the left stick are Left and Right, the four face
// buttons Space, Start is P. A key is down while any pad holds it, and goes up when the last lets go.
#pragma once

#include <SDL.h>

#include <map>
#include <vector>

namespace sdl {

struct PadKey {
    SDL_Keycode key;
    bool down;
};

class Gamepads {
public:
    // Opens nothing by itself: each pad is opened by its added event (SDL sends one for every pad that is
    // already there when the game controller subsystem starts).
    Gamepads() = default;
    ~Gamepads() { close(); }
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Takes a controller event, adding the keys it presses or releases to `changes`. False for events that
    // are not a controller's.
    bool handle(const SDL_Event& event, std::vector<PadKey>& changes);
    // Closes every pad (before SDL ends).
    void close();

    // How far the left stick must lean to press Left or Right, and how far back it must come to release it
    // (out of 32767): a stick that rests a little off centre, or trembles at the edge, presses nothing.
    static constexpr int kStickPress = 16000;
    static constexpr int kStickRelease = 12000;

private:
    // What a pad holds, one bit per source of a key.
    enum Source : unsigned {
        DpadLeft = 1u << 0,
        DpadRight = 1u << 1,
        StickLeft = 1u << 2,
        StickRight = 1u << 3,
        Face = 1u << 4,  // 4 bits: A, B, X, Y
        Start = 1u << 8,
    };
    struct Pad {
        SDL_GameController* controller = nullptr;
        unsigned held = 0;
    };

    void update(std::vector<PadKey>& changes);  // the keys whose state changed since the last call

    std::map<SDL_JoystickID, Pad> pads_;
    std::map<SDL_Keycode, bool> down_;  // each key's state as last reported
};

}  // namespace sdl
