#include "backend/sdl/sdl_gamepad.h"

namespace sdl {

namespace {

struct KeySources {
    SDL_Keycode key;
    unsigned sources;
};

}  // namespace

void Gamepads::close() {
    for (auto& [id, pad] : pads_) SDL_GameControllerClose(pad.controller);
    pads_.clear();
    down_.clear();
}

bool Gamepads::handle(const SDL_Event& event, std::vector<PadKey>& changes) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: {
            const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(event.cdevice.which);
            if (id < 0 || pads_.contains(id)) return true;
            if (SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which))
                pads_[SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller))].controller = controller;
            return true;
        }
        case SDL_CONTROLLERDEVICEREMOVED: {
            const auto it = pads_.find(event.cdevice.which);
            if (it == pads_.end()) return true;
            SDL_GameControllerClose(it->second.controller);
            pads_.erase(it);  // what it held goes up
            break;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            const auto it = pads_.find(event.cbutton.which);
            if (it == pads_.end()) return true;
            unsigned source = 0;
            switch (event.cbutton.button) {
                case SDL_CONTROLLER_BUTTON_DPAD_LEFT: source = DpadLeft; break;
                case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: source = DpadRight; break;
                case SDL_CONTROLLER_BUTTON_A:
                case SDL_CONTROLLER_BUTTON_B:
                case SDL_CONTROLLER_BUTTON_X:
                case SDL_CONTROLLER_BUTTON_Y: source = Face << (event.cbutton.button - SDL_CONTROLLER_BUTTON_A); break;
                case SDL_CONTROLLER_BUTTON_START: source = Start; break;
                default: return true;
            }
            if (event.type == SDL_CONTROLLERBUTTONDOWN)
                it->second.held |= source;
            else
                it->second.held &= ~source;
            break;
        }
        case SDL_CONTROLLERAXISMOTION: {
            const auto it = pads_.find(event.caxis.which);
            if (it == pads_.end() || event.caxis.axis != SDL_CONTROLLER_AXIS_LEFTX) return true;
            unsigned& held = it->second.held;
            const int x = event.caxis.value;
            const bool left = (held & StickLeft) != 0 ? x <= -kStickRelease : x <= -kStickPress;
            const bool right = (held & StickRight) != 0 ? x >= kStickRelease : x >= kStickPress;
            held &= ~(StickLeft | StickRight);
            if (left) held |= StickLeft;
            if (right) held |= StickRight;
            break;
        }
        default: return false;
    }
    update(changes);
    return true;
}

void Gamepads::update(std::vector<PadKey>& changes) {
    static constexpr KeySources kKeys[] = {
        {SDLK_LEFT, DpadLeft | StickLeft},
        {SDLK_RIGHT, DpadRight | StickRight},
        {SDLK_SPACE, Face * 0xFu},
        {SDLK_p, Start},
    };
    for (const KeySources& k : kKeys) {
        bool down = false;
        for (const auto& [id, pad] : pads_) down = down || (pad.held & k.sources) != 0;
        bool& was = down_[k.key];
        if (down != was) changes.push_back({k.key, down});
        was = down;
    }
}

}  // namespace sdl
