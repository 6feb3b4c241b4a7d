// The browser edition: the system on the page's canvases. The page hands the arguments (from its
// address: ?pass-rate=max) and hears the end.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
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
        // One argument a line (no string streams here: they would bring the whole locale library).
        for (std::string_view rest = text; !rest.empty();) {
            const std::size_t end = std::min(rest.find('\n'), rest.size());
            if (end > 0) arguments.emplace_back(rest.substr(0, end));
            rest.remove_prefix(std::min(end + 1, rest.size()));
        }
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
