#include "app/program.h"

#include "app/modVariable_Main.h"
#include "assets/assets.h"
#include "game/frmGame.h"
#include "runtime/icon.h"
#include "startup/frmGraphics.h"
#include "startup/modVariable.h"
#include "title/frmMain.h"
#include "version.h"

namespace quorvex {

rt::ProgramIdentity programIdentity() {
    rt::ProgramIdentity identity{version::productName, kCommandName, {}};
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

Program::Program(rt::Runtime& runtime) : forms_(runtime) {
    ResetCatalogue();
    forms_.declare<frmGraphics>();
    forms_.declare<frmMain>();
    forms_.declare<frmGame>();
}

int runProgram(rt::Backend& backend, const rt::ProgramIdentity& identity, std::uint32_t passRate) {
    rt::Runtime runtime(backend, identity);
    runtime.setPassRate(passRate);
    Program program(runtime);
    return runtime.run(Main);
}

}  // namespace quorvex
