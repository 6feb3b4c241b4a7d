// The desktop program: the system on SDL windows.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "backend/sdl/sdl_backend.h"
#include "startup/command_line.h"
#include "startup/program.h"

namespace {

// Launchers may start the program with standard input, output or error closed. The next file it opened
// (the X connection) would then take that number, and the first message any library printed would go
// into the connection. Each closed one is opened on /dev/null before anything else runs. Returns whether
// standard output was closed.
bool openClosedStandardStreams() {
    bool outputClosed = false;
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        if (fd == 1) outputClosed = true;
        const int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened != -1 && opened != fd) {  // not the lowest free number: put it in its place
            dup2(opened, fd);
            close(opened);
        }
    }
    return outputClosed;
}

}  // namespace

int main(int argc, char** argv) {
    const bool outputClosed = openClosedStandardStreams();
    const quorvex::CommandLine line = quorvex::readCommandLine({argv + (argc > 0 ? 1 : 0), argv + argc});
    switch (line.action) {
        case quorvex::CommandLine::Action::Play: break;
        case quorvex::CommandLine::Action::Refuse:
            std::fprintf(stderr, "quorvex: %s\n", line.text.c_str());
            return quorvex::exitStatusOf(line.action);
        default:
            // An answer that cannot be written is a failure, not a success.
            if (outputClosed || std::fputs(line.text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) return 1;
            return quorvex::exitStatusOf(line.action);
    }
    const rt::ProgramIdentity identity = quorvex::programIdentity();
    std::unique_ptr<sdl::SdlBackend> backend;
    try {
        backend = std::make_unique<sdl::SdlBackend>(identity, line.scale);
    } catch (const sdl::StartError& error) {
        std::fprintf(stderr, "quorvex: cannot open a window: %s\n", error.what());
        return 1;
    }
    try {
        return quorvex::runProgram(*backend, identity);
    } catch (const std::exception& error) {
        // Not one of the system's run-time errors: a fault of our own. The windows are closed by
        // now; say what happened instead of aborting without a word.
        std::fprintf(stderr, "quorvex: unexpected error: %s\n", error.what());
        backend->showError(identity.title, std::string("Unexpected error: ") + error.what());
        return 1;
    }
}
