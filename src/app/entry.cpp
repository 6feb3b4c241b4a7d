#include "app/entry.h"

#include <exception>
#include <new>

#include "app/program.h"

namespace quorvex {

namespace {

int runOrThrow(const Platform& platform, const std::vector<std::string>& arguments) {
    const rt::ProgramIdentity identity = programIdentity();
    const std::string prefix = identity.command + ": ";
    const CommandLine line = readCommandLine(arguments, platform.usage);
    switch (line.action) {
        case CommandLine::Action::Play: break;
        case CommandLine::Action::Refuse: platform.tellFailure(prefix + line.text); return exitStatusOf(line.action);
        default:
            // An answer that cannot be written is a failure, not a success.
            if (!platform.writeAnswer(line.text)) return 1;
            return exitStatusOf(line.action);
    }

    std::unique_ptr<rt::Backend> backend;
    try {
        backend = platform.startBackend(identity, line.scale, line.fullScreen);
    } catch (const BackendStartError& error) {
        platform.tellFailure(prefix + "cannot open a window: " + error.what());
        return 1;
    }
    try {
        return runProgram(*backend, identity, line.passRate);
    } catch (const std::exception& error) {
        // Not one of the system's run-time errors: a fault of our own. The windows are closed by now;
        // say what happened instead of aborting without a word.
        platform.noteFailure(prefix + "unexpected error: " + error.what());
        try {
            backend->showError(identity.title, std::string("Unexpected error: ") + error.what());
        } catch (...) {  // the line is enough
        }
        return 1;
    }
}

}  // namespace

int runEntry(const Platform& platform, const std::vector<std::string>& arguments) noexcept {
    try {
        return runOrThrow(platform, arguments);
    } catch (const std::bad_alloc&) {
        platform.lastResort(kCommandName, "Out of memory");
    } catch (const std::exception& error) {
        platform.lastResort(kCommandName, error.what());
    } catch (...) {
        platform.lastResort(kCommandName, "unexpected error");
    }
    return 1;
}

}  // namespace quorvex
