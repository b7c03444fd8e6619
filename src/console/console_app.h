// tellu-cli as one object: the console's ports around a Session in launch
// mode, standard input as the bar, standard output as the log window, and
// the interruptions that end the run.
#pragma once
#include <memory>
#include <string>

#include "console/options.h"

namespace tellu {

// TELLU.INI (any letter case) in the Windows directory when there is one,
// else tellu.ini beside the program.
std::string ConsoleProfilePath(const std::string& windows_dir, const std::string& program_dir);

class ConsolePlatform;

// Runs the program to its end and returns the exit status: 0 after /quit,
// SIGINT or SIGTERM (Ctrl+C on Windows), 2 after a fatal start-up error.
// Each platform's layer defines it around RunConsoleOn.
int RunConsole(const ConsoleOptions& options, const std::string& program_path);

// The same on a given platform, which outlives the run.
int RunConsoleOn(ConsolePlatform& platform, const ConsoleOptions& options,
                 const std::string& program_path);

}  // namespace tellu
