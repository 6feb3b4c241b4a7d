// The browser edition: the system on the page's canvases. The page hands the arguments (from its
// address: ?pass-rate=max) and hears the end.
#include <emscripten.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/entry.h"
#include "backend/web/web_backend.h"

// clang-format off
EM_JS(char*, web_arguments, (), {
    const text = QuorvexPage.arguments().join("\n");
    const size = lengthBytesUTF8(text) + 1;
    const copy = _malloc(size);
    stringToUTF8(text, copy, size);
    return copy;
});
EM_JS(void, web_say, (const char* line), { QuorvexPage.say(UTF8ToString(line)); });
EM_JS(void, web_ended, (int status), { QuorvexPage.ended(status); });
// clang-format on

int main() {
    std::vector<std::string> arguments;
    if (char* text = web_arguments()) {
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            if (!line.empty()) arguments.push_back(line);
        std::free(text);
    }
    quorvex::Platform platform;
    platform.usage = {"quorvex", "the page's own"};
    platform.startBackend = [](const rt::ProgramIdentity& identity, int, bool) -> std::unique_ptr<rt::Backend> {
        return std::make_unique<web::WebBackend>(identity);
    };
    platform.writeAnswer = [](const std::string& text) { return std::fputs(text.c_str(), stdout) >= 0; };
    platform.tellFailure = [](const std::string& line) { web_say(line.c_str()); };
    platform.noteFailure = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
    platform.lastResort = [](const char* command, const char* text) {
        std::fprintf(stderr, "%s: %s\n", command, text);
    };
    const int status = quorvex::runEntry(platform, arguments);
    web_ended(status);
    return status;
}
