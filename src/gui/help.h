// The program's help: the old ".HLP" file beside the program when there is
// one, else the HTML page shipped with it, which any current system can show.
#pragma once
#include <string>

#include "platform/files.h"

namespace tellu {

// The page shipped beside the program.
inline constexpr char kHelpPage[] = "tellu.html";

// What the help command opens for the program at `program_path`.
std::string HelpDocument(Files& files, const std::string& program_path);

}  // namespace tellu
