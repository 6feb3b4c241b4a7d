// The desktop program: the system on SDL windows.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "backend/sdl/sdl_backend.h"
#include "startup/program.h"
#include "version.h"

int main(int argc, char** argv) {
    // The game takes no arguments; these two answer before any window opens.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version") {
            std::printf("%s %s\n", quorvex::version::productName, quorvex::version::productVersion);
            return 0;
        }
        if (arg == "--help") {
            std::printf("Usage: quorvex [--version | --help]\n"
                        "A small single-player arcade shooter. Left and Right move the ship, Space fires.\n");
            return 0;
        }
        std::fprintf(stderr, "quorvex: unknown argument '%s' (try --help)\n", argv[i]);
        return 2;
    }
    const rt::ProgramIdentity identity = quorvex::programIdentity();
    std::unique_ptr<sdl::SdlBackend> backend;
    try {
        backend = std::make_unique<sdl::SdlBackend>(identity);
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
