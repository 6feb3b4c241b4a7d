// The command line. The game itself takes no arguments; a desktop program answers --version and --help
// before any window opens, takes --scale for large screens and --pass-rate for the pace of the loops, and
// refuses anything else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvex {

// What the usage says differs by platform: the program's file name, and where the default scale comes
// from.
struct UsageFacts {
    std::string programName;   // "quorvex", "Quorvex.exe"
    std::string defaultScale;  // e.g. "the desktop's own scale factor (GDK_SCALE, or Xft.dpi / 96)"
};

struct CommandLine {
    enum class Action { Play, ShowVersion, ShowHelp, Refuse };
    Action action = Action::Play;
    std::string text;            // what to print: the version, the usage, or why the arguments are refused
    int scale = 0;               // --scale N, 1 to 4: each pixel shown N x N; 0: the desktop's own scale factor
    std::uint32_t passRate = 0;  // --pass-rate N, passes a second (kMinPassRate to kMaxPassRate); 0: max
    // --fullscreen: the windows start in full screen
    bool fullScreen = false;
};

inline constexpr std::uint32_t kMinPassRate = 1'000;  // one pass a millisecond
inline constexpr std::uint32_t kMaxPassRate = 100'000'000;

// The arguments after the program's name, as UTF-8. Any argument it does not know is refused, wherever
// it stands.
CommandLine readCommandLine(const std::vector<std::string>& arguments, const UsageFacts& usage);

// The exit status of each action: 0 for the version and the usage, 2 for refused arguments.
int exitStatusOf(CommandLine::Action action);

}  // namespace quorvex
