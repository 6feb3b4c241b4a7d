#include "backend/win32/win32_gamepad.h"

#include "runtime/constants.h"

namespace win32 {

namespace {

enum Source : unsigned {
    DpadLeft = 1u << 0,
    DpadRight = 1u << 1,
    StickLeft = 1u << 2,
    StickRight = 1u << 3,
    Face = 1u << 4,
    Start = 1u << 5,
};

struct KeySources {
    int key;
    unsigned sources;
};
constexpr KeySources kKeys[] = {
    {rt::vbKeyLeft, DpadLeft | StickLeft},
    {rt::vbKeyRight, DpadRight | StickRight},
    {rt::vbKeySpace, Face},
    {rt::vbKeyA + ('P' - 'A'), Start},
};

using GetState = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

}  // namespace

unsigned heldBy(const XINPUT_GAMEPAD& pad, unsigned before) {
    unsigned held = 0;
    if ((pad.wButtons & XINPUT_GAMEPAD_DPAD_LEFT) != 0) held |= DpadLeft;
    if ((pad.wButtons & XINPUT_GAMEPAD_DPAD_RIGHT) != 0) held |= DpadRight;
    if ((pad.wButtons & (XINPUT_GAMEPAD_A | XINPUT_GAMEPAD_B | XINPUT_GAMEPAD_X | XINPUT_GAMEPAD_Y)) != 0) held |= Face;
    if ((pad.wButtons & XINPUT_GAMEPAD_START) != 0) held |= Start;
    const int x = pad.sThumbLX;
    if ((before & StickLeft) != 0 ? x <= -Gamepads::kStickRelease : x <= -Gamepads::kStickPress) held |= StickLeft;
    if ((before & StickRight) != 0 ? x >= Gamepads::kStickRelease : x >= Gamepads::kStickPress) held |= StickRight;
    return held;
}

Gamepads::Gamepads() {
    // The newest first; 9.1.0 is the one every Windows since Vista has.
    for (const wchar_t* name : {L"xinput1_4.dll", L"xinput1_3.dll", L"xinput9_1_0.dll"}) {
        library_ = LoadLibraryW(name);
        if (library_ != nullptr) break;
    }
    if (library_ == nullptr) return;
    const auto getState =
        reinterpret_cast<GetState>(reinterpret_cast<void*>(GetProcAddress(library_, "XInputGetState")));
    if (getState != nullptr) read_ = getState;
}

// The library is never freed: it may run a thread of its own (Wine's does, to watch for devices), which
// would go on running its unloaded code and crash the program.
Gamepads::~Gamepads() = default;

void Gamepads::useReader(Reader reader) {
    read_ = std::move(reader);
    for (Slot& slot : slots_) slot = Slot{};
    polledOnce_ = false;
}

bool Gamepads::connected() const {
    for (const Slot& slot : slots_)
        if (slot.connected) return true;
    return false;
}

void Gamepads::forget() {
    for (bool& down : down_) down = false;
}

void Gamepads::poll(std::uint64_t nowMs, std::vector<PadKey>& changes) {
    if (!read_ || (polledOnce_ && nowMs - lastPoll_ < kPollMs)) return;
    const bool first = !polledOnce_;
    polledOnce_ = true;
    lastPoll_ = nowMs;
    for (DWORD i = 0; i < kSlots; ++i) {
        Slot& slot = slots_[i];
        if (!slot.connected && !first && nowMs - slot.lookedAt < kEmptySlotMs) continue;
        XINPUT_STATE state{};
        slot.connected = read_(i, &state) == ERROR_SUCCESS;
        slot.lookedAt = nowMs;
        slot.held = slot.connected ? heldBy(state.Gamepad, slot.held) : 0;  // an unplugged pad lets go
    }
    for (std::size_t k = 0; k < std::size(kKeys); ++k) {
        bool down = false;
        for (const Slot& slot : slots_) down = down || (slot.held & kKeys[k].sources) != 0;
        if (down != down_[k]) changes.push_back({kKeys[k].key, down});
        down_[k] = down;
    }
}

}  // namespace win32
