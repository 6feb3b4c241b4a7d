#include "app/command_line.h"

#include <charconv>

#include "version.h"

namespace quorvex {

namespace {

// The usage, in lines of at most 100 columns.
std::string usageText(const UsageFacts& usage) {
    return "Usage: " + usage.programName +
           " [--scale N] [--fullscreen] [--pass-rate N|max] [--version | --help]\n"
           "A small single-player arcade shooter: shoot the ten aliens before their bombs hit your ship.\n"
           "\n"
           "Left and Right move the ship, Space fires, P or Pause pauses play and resumes it (play also\n"
           "pauses when its window is minimised or another program takes the keyboard). On the title\n"
           "screen, Continue (or Return) starts.\n"
           "A gamepad plays too: D-pad or left stick to move, A, B, X or Y for Space, Start for P.\n"
           "When the last life is lost you are asked whether to play again: Y answers Yes, N answers No,\n"
           "Return or Space the button chosen (Yes at first; the arrows choose the other).\n"
           "To quit, close the window, or answer No.\n"
           "The caption's FPS figure is the game loop's rate: thousands of passes a second.\n"
           "\n"
           "  --scale N    show each pixel N x N (1 to 4), for large screens; by default\n"
           "               " +
           usage.defaultScale +
           ", rounded down;\n"
           "               never more than fits the screen\n"
           "  --fullscreen start in full screen; F11 or Alt+Enter switches at any time\n"
           "  --pass-rate N|max\n"
           "               run the loops as a machine making N passes a second (1000 to 100000000)\n"
           "               would, waiting between passes instead of spinning: e.g. 41000 uses little\n"
           "               of the processor, and the FPS figure and the aliens' legs follow N;\n"
           "               max, the default, runs them as fast as the machine goes\n"
           "  --version    print the version and exit\n"
           "  -h, --help   print this and exit\n";
}

// The value of an option given as "--name VALUE" or "--name=VALUE"; false when it has none.
bool optionValue(const std::vector<std::string>& arguments, std::size_t& i, const std::string& name,
                 std::string& value) {
    const std::string& arg = arguments[i];
    if (arg.size() > name.size()) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    if (i + 1 == arguments.size()) return false;
    value = arguments[++i];
    return true;
}

// A pass rate: "max" (0), or a whole number of passes a second within the limits.
bool readPassRate(const std::string& value, std::uint32_t& rate) {
    if (value == "max") {
        rate = 0;
        return true;
    }
    std::uint64_t n = 0;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, n);
    if (value.empty() || error != std::errc() || stop != end || n < kMinPassRate || n > kMaxPassRate) return false;
    rate = static_cast<std::uint32_t>(n);
    return true;
}

}  // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments, const UsageFacts& usage) {
    CommandLine line;
    auto refuse = [&line](const std::string& why) {
        line.action = CommandLine::Action::Refuse;
        line.text = why + " (try --help)";
        return line;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--version") {
            if (line.action == CommandLine::Action::Play) line.action = CommandLine::Action::ShowVersion;
        } else if (arg == "--help" || arg == "-h") {
            line.action = CommandLine::Action::ShowHelp;
        } else if (arg == "--scale" || arg.rfind("--scale=", 0) == 0) {
            std::string value;
            if (!optionValue(arguments, i, "--scale", value)) return refuse("--scale needs a whole number from 1 to 4");
            if (value.size() != 1 || value[0] < '1' || value[0] > '4')
                return refuse("--scale needs a whole number from 1 to 4, not '" + value + "'");
            line.scale = value[0] - '0';
        } else if (arg == "--fullscreen") {
            line.fullScreen = true;
        } else if (arg == "--pass-rate" || arg.rfind("--pass-rate=", 0) == 0) {
            const std::string needs = "--pass-rate needs passes a second, 1000 to 100000000, or max";
            std::string value;
            if (!optionValue(arguments, i, "--pass-rate", value)) return refuse(needs);
            if (!readPassRate(value, line.passRate)) return refuse(needs + ", not '" + value + "'");
        } else {
            return refuse("unknown argument '" + arg + "'");
        }
    }
    if (line.action == CommandLine::Action::ShowVersion)
        line.text = std::string(version::productName) + " " + version::productVersion + "\n";
    else if (line.action == CommandLine::Action::ShowHelp)
        line.text = usageText(usage);
    return line;
}

int exitStatusOf(CommandLine::Action action) { return action == CommandLine::Action::Refuse ? 2 : 0; }

}  // namespace quorvex
