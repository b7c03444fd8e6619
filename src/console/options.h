// tellu-cli's command line:
//   tellu-cli [S1..S8] [--ini FILE] [--windows-dir DIR] [--avatar-requests ask|yes|no]
//             [--color auto|always|never] [--bell] [--version] [--help]
// The help is the one the README's tellu-cli section and the man page follow.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "console/terminal.h"

namespace tellu {

enum class ColourMode { kAuto, kAlways, kNever };

struct ConsoleOptions {
  // The arguments that are not options, joined by blanks: read with the
  // Windows program's command-line rule.
  std::string slot_text;
  std::optional<std::string> ini;
  std::optional<std::string> windows_dir;
  AskMode ask = AskMode::kAsk;
  ColourMode colour = ColourMode::kAuto;
  bool bell = false;  // BEL on a whisper to the user
  bool help = false;
  bool version = false;
};

// The first lines of the help: what a wrong command line gets.
extern const char kConsoleUsage[];
// The whole of --help: every option, the commands, the environment and the
// exit statuses.
std::string ConsoleHelp();
// "tellu-cli " and the release.
std::string ConsoleVersion();

// args without the program name.  Nothing, with the reason in error, for a
// command line that cannot be used.
std::optional<ConsoleOptions> ParseOptions(const std::vector<std::string>& args,
                                           std::string& error);

// Whether the log is printed in colours: on a terminal by default, unless
// TERM is "dumb" or NO_COLOR is set (null: not set).
bool UseColour(ColourMode mode, bool terminal, const char* term, const char* no_color);

// Where the Windows directory is taken to be away from Windows: the Wine
// prefix's, else the default Wine prefix's under home.
std::string DefaultWindowsDir(const char* wineprefix, const char* home);

}  // namespace tellu
