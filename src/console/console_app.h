// tellu-cli as one object: the console's ports around a Session in launch
// mode, standard input as the bar, standard output as the log window, and
// the interruptions that end the run.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "console/options.h"

namespace tellu {

// TELLU.INI (any letter case) in the Windows directory when there is one,
// else tellu.ini beside the program.
std::string ConsoleProfilePath(const std::string& windows_dir, const std::string& program_dir);

class ConsolePlatform;

// Start-up history lines or a fatal report (Shift-JIS, CR LF between lines)
// for the terminal: the path after a history line's head as `path_text`
// writes it, everything else as TerminalText.
std::string StartupText(std::string_view sjis,
                        const std::function<std::string(const std::string&)>& path_text);

// Runs the program to its end and returns the exit status: 0 after /quit,
// SIGINT or SIGTERM (Ctrl+C on Windows), 2 after a fatal start-up error.
// Each platform's layer defines it around RunConsoleOn.
int RunConsole(const ConsoleOptions& options, const std::string& program_path);

// The same on a given platform, which outlives the run.
int RunConsoleOn(ConsolePlatform& platform, const ConsoleOptions& options,
                 const std::string& program_path);

}  // namespace tellu
