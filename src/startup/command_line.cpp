#include "startup/command_line.h"

#include "version.h"

namespace quorvex {

CommandLine readCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (const std::string& arg : arguments) {
        if (arg == "--version") {
            if (line.action == CommandLine::Action::Play) line.action = CommandLine::Action::ShowVersion;
        } else if (arg == "--help") {
            if (line.action != CommandLine::Action::Refuse) line.action = CommandLine::Action::ShowHelp;
        } else {
            line.action = CommandLine::Action::Refuse;
            line.text = "unknown argument '" + arg + "' (try --help)";
            return line;
        }
    }
    if (line.action == CommandLine::Action::ShowVersion)
        line.text = std::string(version::productName) + " " + version::productVersion + "\n";
    else if (line.action == CommandLine::Action::ShowHelp)
        line.text = "Usage: quorvex [--version | --help]\n"
                    "A small single-player arcade shooter. Left and Right move the ship, Space fires.\n";
    return line;
}

int exitStatusOf(CommandLine::Action action) { return action == CommandLine::Action::Refuse ? 2 : 0; }

}  // namespace quorvex
