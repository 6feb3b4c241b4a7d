// The Windows program: the system on Win32 windows.
#include "backend/win32/windows_api.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/entry.h"
#include "backend/win32/win32_backend.h"
#include "backend/win32/win32_text.h"
#include "version.h"

namespace {

constexpr int kProgramIcon = 1;  // the first icon group of the executable's resources

// Said in a box: a program without a console may have nowhere else to say it.
void tell(const std::string& title, const std::string& text, UINT icon) {
    MessageBoxW(nullptr, win32::widen(text).c_str(), win32::widen(title).c_str(), MB_OK | icon);
}

// Text on standard output or error where the program was started with one (a console, a pipe), else
// `elsewhere` is called (a GUI program started from the desktop has none). Returns false when it could
// not be written.
bool say(DWORD stream, const std::string& text, const std::function<void()>& elsewhere) {
    HANDLE handle = GetStdHandle(stream);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        elsewhere();
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

    const std::string title = quorvex::version::productName;
    quorvex::Platform platform;
    platform.usage = {quorvex::version::originalFilename, "the monitor's own scale (its DPI / 96)"};
    platform.startBackend = [instance](const rt::ProgramIdentity& identity, int scale,
                                       bool fullScreen) -> std::unique_ptr<rt::Backend> {
        try {
            return std::make_unique<win32::Win32Backend>(instance, identity, kProgramIcon, scale, fullScreen);
        } catch (const win32::StartError& error) {
            throw quorvex::BackendStartError(error.what());
        }
    };
    platform.writeAnswer = [title](const std::string& text) {
        return say(STD_OUTPUT_HANDLE, text, [&] { tell(title, text, MB_ICONINFORMATION); });
    };
    platform.tellFailure = [title](const std::string& line) {
        say(STD_ERROR_HANDLE, line + "\n", [&] { tell(title, line, MB_ICONERROR); });
    };
    platform.noteFailure = [](const std::string& line) { say(STD_ERROR_HANDLE, line + "\n", [] {}); };
    platform.lastResort = [](const char* command, const char* text) {
        HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;  // no memory for a box either
        DWORD written = 0;
        for (const char* piece : {command, ": ", text, "\n"})
            if (!WriteFile(handle, piece, static_cast<DWORD>(std::strlen(piece)), &written, nullptr)) return;
    };
    return quorvex::runEntry(platform, arguments);
}
