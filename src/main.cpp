// The desktop program: the system on SDL windows.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/entry.h"
#include "backend/sdl/sdl_backend.h"

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
    quorvex::Platform platform;
    platform.usage = {"quorvex", "the desktop's own scale factor (GDK_SCALE, or Xft.dpi / 96)"};
    platform.startBackend = [](const rt::ProgramIdentity& identity, int scale,
                               bool fullScreen) -> std::unique_ptr<rt::Backend> {
        try {
            return std::make_unique<sdl::SdlBackend>(identity, scale, fullScreen);
        } catch (const sdl::StartError& error) {
            throw quorvex::BackendStartError(error.what());
        }
    };
    platform.writeAnswer = [outputClosed](const std::string& text) {
        return !outputClosed && std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
    };
    platform.tellFailure = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
    platform.noteFailure = platform.tellFailure;
    platform.lastResort = [](const char* command, const char* text) {
        for (const char* piece : {command, ": ", text, "\n"})
            if (write(STDERR_FILENO, piece, std::strlen(piece)) < 0) return;
    };
    return quorvex::runEntry(platform, {argv + (argc > 0 ? 1 : 0), argv + argc});
}
