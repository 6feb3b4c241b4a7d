// The desktop program: the system on SDL windows.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "backend/sdl/sdl_backend.h"
#include "startup/program.h"

int main() {
    std::unique_ptr<sdl::SdlBackend> backend;
    try {
        backend = std::make_unique<sdl::SdlBackend>();
    } catch (const sdl::StartError& error) {
        std::fprintf(stderr, "quorvex: cannot open a window: %s\n", error.what());
        return 1;
    }
    try {
        return quorvex::runProgram(*backend);
    } catch (const std::exception& error) {
        // Not one of the system's run-time errors: a fault of our own. The windows are closed by
        // now; say what happened instead of aborting without a word.
        std::fprintf(stderr, "quorvex: unexpected error: %s\n", error.what());
        backend->showError("Quorvex", std::string("Unexpected error: ") + error.what());
        return 1;
    }
}
