// Game controllers as keys, through XInput, loaded at run time: where no XInput library is found the
// program runs as before, with the keyboard. The D-pad and the left stick are Left and Right, the four
// face buttons Space, Start is P. A key is down while any pad holds it and goes up when the last lets go.
#pragma once

#include "backend/win32/windows_api.h"

#include <xinput.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace win32 {

struct PadKey {
    int key;  // a virtual-key code
    bool down;
};

class Gamepads {
public:
    // Reads pad `slot` (0 to 3) into `state`: ERROR_SUCCESS, or ERROR_DEVICE_NOT_CONNECTED.
    using Reader = std::function<DWORD(DWORD slot, XINPUT_STATE* state)>;

    Gamepads();  // loads XInput, if there is one
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Reads the pads, at most every few milliseconds, adding the keys they press or release to `changes`.
    // A slot found empty is looked at again only once a second: asking an empty slot is slow.
    void poll(std::uint64_t nowMs, std::vector<PadKey>& changes);
    // Forgets what the pads hold without a word (the window that had the keys has already let them go):
    // a button still held is pressed again at the next poll that has a window to take it.
    void forget();
    // Whether any pad is connected (the event pump then wakes up to read it), and whether XInput is there.
    bool connected() const;
    bool available() const { return static_cast<bool>(read_); }

    // For tests: reads the pads through `reader` instead of XInput.
    void useReader(Reader reader);

    // How far the left stick must lean to press Left or Right, and how far back it must come to release it
    // (out of 32767): a stick that rests a little off centre, or trembles at the edge, presses nothing.
    static constexpr int kStickPress = 16000;
    static constexpr int kStickRelease = 12000;
    static constexpr std::uint64_t kPollMs = 4;
    static constexpr std::uint64_t kEmptySlotMs = 1000;
    static constexpr DWORD kSlots = 4;  // XUSER_MAX_COUNT

private:
    struct Slot {
        bool connected = false;
        std::uint64_t lookedAt = 0;  // when an empty slot was last read
        unsigned held = 0;           // one bit per source of a key
    };

    HMODULE library_ = nullptr;
    Reader read_;
    Slot slots_[kSlots];
    bool down_[4] = {};  // each key's state as last reported: Left, Right, Space, P
    std::uint64_t lastPoll_ = 0;
    bool polledOnce_ = false;
};

// The sources of keys that a pad's state holds; `before` is what it held (for the stick's release point).
unsigned heldBy(const XINPUT_GAMEPAD& pad, unsigned before);

}  // namespace win32
