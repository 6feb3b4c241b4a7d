// The Windows program: the system on Win32 windows.
#include "backend/win32/windows_api.h"

#include <shellapi.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "backend/win32/win32_backend.h"
#include "backend/win32/win32_text.h"
#include "startup/command_line.h"
#include "startup/program.h"

namespace {

constexpr int kProgramIcon = 1;  // the first icon group of the executable's resources

// Said in a box: a program without a console may have nowhere else to say it.
void tell(const std::string& title, const std::string& text, UINT icon) {
    MessageBoxW(nullptr, win32::widen(text).c_str(), win32::widen(title).c_str(), MB_OK | icon);
}

// A line on standard output or error where the program was started with one (a console, a pipe), else
// in a box. Returns false when it could not be written.
bool say(DWORD stream, const std::string& title, const std::string& text, UINT icon) {
    HANDLE handle = GetStdHandle(stream);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        tell(title, text, icon);
        return true;
    }
    DWORD written = 0;
    return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0 &&
           written == text.size();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; argv != nullptr && i < count; ++i) arguments.push_back(win32::narrow(argv[i]));
    if (argv != nullptr) LocalFree(argv);

    const rt::ProgramIdentity identity = quorvex::programIdentity();
    const quorvex::CommandLine line = quorvex::readCommandLine(arguments);
    switch (line.action) {
        case quorvex::CommandLine::Action::Play: break;
        case quorvex::CommandLine::Action::Refuse:
            say(STD_ERROR_HANDLE, identity.title, identity.command + ": " + line.text + "\n", MB_ICONERROR);
            return quorvex::exitStatusOf(line.action);
        default:
            if (!say(STD_OUTPUT_HANDLE, identity.title, line.text, MB_ICONINFORMATION)) return 1;
            return quorvex::exitStatusOf(line.action);
    }

    std::unique_ptr<win32::Win32Backend> backend;
    try {
        backend = std::make_unique<win32::Win32Backend>(instance, identity, kProgramIcon);
    } catch (const win32::StartError& error) {
        tell(identity.title, std::string("Cannot open a window: ") + error.what(), MB_ICONERROR);
        return 1;
    }
    try {
        return quorvex::runProgram(*backend, identity);
    } catch (const std::exception& error) {
        // Not one of the system's run-time errors: a fault of our own. The windows are closed by now.
        backend->showError(identity.title, std::string("Unexpected error: ") + error.what());
        return 1;
    }
}
