// One run of the program: who it is, its three windows, and the run of Main on a back-end until the
// program ends.
#pragma once

#include <cstdint>

#include "runtime/backend.h"
#include "runtime/program_identity.h"
#include "runtime/runtime.h"
#include "startup/forms.h"

namespace quorvex {

// The name the program's messages on standard error start with.
inline constexpr char kCommandName[] = "quorvex";

// The program's name for its error boxes and messages, and its icon for the windows' title bars.
rt::ProgramIdentity programIdentity();

// The windows of one run: the sprite window, the title and the game, reached through form<>() while the
// program lives. Tests may ask which ones were ever referenced.
class Program {
public:
    explicit Program(rt::Runtime& runtime);

    template <class Window>
    bool created() const {
        return forms_.created<Window>();
    }

private:
    Forms forms_;
};

// Runs the program on a back-end, from Main to its end, its loops at `passRate` passes a second (0: as fast
// as the machine goes); returns the exit status.
int runProgram(rt::Backend& backend, const rt::ProgramIdentity& identity, std::uint32_t passRate = 0);

}  // namespace quorvex
