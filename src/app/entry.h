// The one entry flow every platform's entry point hands its back-end and arguments to: the command line,
// the back-end's start, the run, and what is said when any of them fails.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "runtime/backend.h"
#include "runtime/program_identity.h"

namespace quorvex {

// A back-end that could not start (no display, no window class...): said in one line, exit status 1.
struct BackendStartError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What an entry point brings: the platform's facts for the usage, its back-end, and its ways to speak
// before a back-end runs (or after it failed).
struct Platform {
    UsageFacts usage;
    // Makes the back-end whose windows show each pixel `scale` x `scale` (0: the desktop's own scale),
    // in full screen from the start with `fullScreen`. Throws BackendStartError when the platform cannot
    // show windows.
    std::function<std::unique_ptr<rt::Backend>(const rt::ProgramIdentity&, int scale, bool fullScreen)> startBackend;
    // Writes an answer (the version, the usage); false when it could not be written.
    std::function<bool(const std::string& text)> writeAnswer;
    // Says one line of failure where the player will see it (standard error, or a box where the program
    // has none).
    std::function<void(const std::string& line)> tellFailure;
    // Notes one line of failure on standard error, when there is one, for a failure the back-end shows
    // anyway in its error box.
    std::function<void(const std::string& line)> noteFailure;
    // Says "<command>: <text>" on standard error without taking any memory: the last resort, when even
    // a line could not be made (memory ran out).
    void (*lastResort)(const char* command, const char* text) = nullptr;
};

// Runs the program as the arguments ask; returns the exit status. Never throws: whatever fails, the
// program says so in one line and the status is 1.
int runEntry(const Platform& platform, const std::vector<std::string>& arguments) noexcept;

}  // namespace quorvex
