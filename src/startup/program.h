// One run of the program: who it is, its three windows, and the entry that runs Main on a back-end
// until the program ends.
#pragma once

#include <memory>
#include <tuple>

#include "runtime/backend.h"
#include "runtime/program_identity.h"
#include "runtime/runtime.h"

namespace quorvex {

class frmGraphics;
class frmMain;
class frmGame;

// The program's name for its error boxes and messages, and its icon for the windows' title bars.
rt::ProgramIdentity programIdentity();

// The one way to reach a window: form<frmGame>() is the game window of the running program, created
// on its first reference, as the code names it, and kept until the run ends.
template <class Window>
Window& form();

// The windows of one run. Only form<>() reaches them; tests may ask which ones were ever referenced.
class Program {
public:
    explicit Program(rt::Runtime& runtime);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    template <class Window>
    bool created() const {
        return std::get<std::unique_ptr<Window>>(windows_) != nullptr;
    }

private:
    template <class Window>
    friend Window& form();

    rt::Runtime& runtime_;
    std::tuple<std::unique_ptr<frmGraphics>, std::unique_ptr<frmMain>, std::unique_ptr<frmGame>> windows_;
};

// Runs the program on a back-end, from Main to its end; returns the exit status.
int runProgram(rt::Backend& backend, const rt::ProgramIdentity& identity);

}  // namespace quorvex
