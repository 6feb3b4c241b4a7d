// The desktop program: the system on SDL windows.
#include <cstdio>
#include <memory>

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
    return quorvex::runProgram(*backend);
}
