// tellu-cli as one object: the console's ports around a Session in launch
// mode, standard input as the bar, standard output as the log window, and
// the signals that end the run.
#pragma once
#include <memory>
#include <string>

#include "console/options.h"

namespace tellu {

// TELLU.INI (any letter case) in the Windows directory when there is one,
// else tellu.ini beside the program.
std::string ConsoleProfilePath(const std::string& windows_dir, const std::string& program_dir);

// Runs the program to its end and returns the exit status: 0 after /quit,
// SIGINT or SIGTERM, 2 after a fatal start-up error.
int RunConsole(const ConsoleOptions& options, const std::string& program_path);

}  // namespace tellu
