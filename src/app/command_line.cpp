#include "app/command_line.h"

#include "version.h"

namespace quorvex {

namespace {

// The usage, in lines of at most 100 columns.
std::string usageText(const UsageFacts& usage) {
    return "Usage: " + usage.programName +
           " [--scale N | --version | --help]\n"
           "A small single-player arcade shooter: shoot the ten aliens before their bombs hit your ship.\n"
           "\n"
           "Left and Right move the ship, Space fires. On the title screen, Continue (or Return) starts.\n"
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
           "  --version    print the version and exit\n"
           "  -h, --help   print this and exit\n";
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
            if (arg == "--scale") {
                if (i + 1 == arguments.size()) return refuse("--scale needs a whole number from 1 to 4");
                value = arguments[++i];
            } else {
                value = arg.substr(8);
            }
            if (value.size() != 1 || value[0] < '1' || value[0] > '4')
                return refuse("--scale needs a whole number from 1 to 4, not '" + value + "'");
            line.scale = value[0] - '0';
        } else if (arg == "--fullscreen") {
            line.fullScreen = true;
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
