// One run of the program: its three windows, created on their first reference, and the entry that
// runs Main on a back-end until the program ends.
#pragma once

#include <memory>

#include "runtime/backend.h"
#include "runtime/runtime.h"

namespace quorvex {

class FrmGraphics;
class FrmMain;
class FrmGame;

class Program {
public:
    explicit Program(rt::Runtime& runtime);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    static Program& current();

    FrmGraphics& graphics();
    FrmMain& title();
    FrmGame& game();
    bool hasTitle() const { return title_ != nullptr; }
    bool hasGame() const { return game_ != nullptr; }
    rt::Runtime& runtime() { return runtime_; }

private:
    rt::Runtime& runtime_;
    std::unique_ptr<FrmGraphics> graphics_;
    std::unique_ptr<FrmMain> title_;
    std::unique_ptr<FrmGame> game_;
};

// The program's windows as its code names them.
FrmGraphics& frmGraphics();
FrmMain& frmMain();
FrmGame& frmGame();

// Runs the program on a back-end, from Main to its end; returns the exit status.
int runProgram(rt::Backend& backend);

}  // namespace quorvex
