#include "startup/program.h"

#include "game/frmGame.h"
#include "startup/frmGraphics.h"
#include "startup/modVariable.h"
#include "title/frmMain.h"

namespace quorvex {

namespace {
Program* g_program = nullptr;
}

Program::Program(rt::Runtime& runtime) : runtime_(runtime) {
    ResetCatalogue();
    g_program = this;
}

Program::~Program() {
    // Windows go in the reverse order of their usual creation.
    game_.reset();
    title_.reset();
    graphics_.reset();
    if (g_program == this) g_program = nullptr;
}

Program& Program::current() {
    if (g_program == nullptr) rt::raiseWindowCallFailed("no program is running");
    return *g_program;
}

FrmGraphics& Program::graphics() {
    if (!graphics_) graphics_ = std::make_unique<FrmGraphics>(runtime_);
    return *graphics_;
}

FrmMain& Program::title() {
    if (!title_) title_ = std::make_unique<FrmMain>(runtime_);
    return *title_;
}

FrmGame& Program::game() {
    if (!game_) game_ = std::make_unique<FrmGame>(runtime_);
    return *game_;
}

FrmGraphics& frmGraphics() { return Program::current().graphics(); }
FrmMain& frmMain() { return Program::current().title(); }
FrmGame& frmGame() { return Program::current().game(); }

int runProgram(rt::Backend& backend) {
    rt::Runtime runtime(backend);
    Program program(runtime);
    return runtime.run(Main);
}

}  // namespace quorvex
