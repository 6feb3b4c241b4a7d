#include "startup/program.h"

#include <stdexcept>

#include "assets/assets.h"
#include "game/frmGame.h"
#include "runtime/icon.h"
#include "startup/frmGraphics.h"
#include "startup/modVariable.h"
#include "title/frmMain.h"
#include "version.h"

namespace quorvex {

namespace {
Program* g_program = nullptr;
}

rt::ProgramIdentity programIdentity() {
    rt::ProgramIdentity identity{version::productName, "quorvex", {}};
    // Every size the embedded icon holds, largest first. One that cannot be read is left out; with
    // none, the windows show the desktop's default icon.
    for (const int size : {32, 16}) {
        try {
            identity.icon.push_back(rt::decodeIcoImage(assets::find("quorvex.ico"), size));
        } catch (const rt::FormatError&) {
        }
    }
    return identity;
}

Program::Program(rt::Runtime& runtime) : runtime_(runtime) {
    ResetCatalogue();
    g_program = this;
}

Program::~Program() {
    // Windows go in the reverse order of their usual creation.
    std::get<std::unique_ptr<frmGame>>(windows_).reset();
    std::get<std::unique_ptr<frmMain>>(windows_).reset();
    std::get<std::unique_ptr<frmGraphics>>(windows_).reset();
    if (g_program == this) g_program = nullptr;
}

template <class Window>
Window& form() {
    if (g_program == nullptr) throw std::logic_error("no program is running");
    auto& window = std::get<std::unique_ptr<Window>>(g_program->windows_);
    if (!window) window = std::make_unique<Window>(g_program->runtime_);
    return *window;
}

template frmGraphics& form<frmGraphics>();
template frmMain& form<frmMain>();
template frmGame& form<frmGame>();

int runProgram(rt::Backend& backend, const rt::ProgramIdentity& identity) {
    rt::Runtime runtime(backend, identity);
    Program program(runtime);
    return runtime.run(Main);
}

}  // namespace quorvex
