// Who the program is, as its windows and messages show it. The program fills this in and hands it to
// the runtime and to its back-end; neither knows the program's name or icon by itself.
#pragma once

#include <string>
#include <vector>

#include "runtime/icon.h"

namespace rt {

struct ProgramIdentity {
    std::string title;            // the title of its error boxes ("Quorvex")
    std::string command;          // the prefix of its messages on standard error ("quorvex")
    std::vector<IconImage> icon;  // every size of the window icon, largest first; may be empty
};

}  // namespace rt
