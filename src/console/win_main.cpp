// tellu-cli on Windows: the command line is read in UTF-16 and taken as the
// program's text, so paths work on any system code page.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "console/console_app.h"
#include "console/console_out.h"
#include "console/display_text.h"
#include "console/options.h"
#include "win32/win_places.h"
#include "win32/wide_text.h"

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 1; argv && i < argc; ++i) args.push_back(tellu::Sjis(argv[i]));
  if (argv) LocalFree(argv);

  std::string error;
  const auto options = tellu::ParseOptions(args, error);
  if (!options) {
    tellu::WriteOut(stderr, "tellu-cli: " + tellu::TerminalText(error) + "\n" +
                                tellu::kConsoleUsage);
    return 2;
  }
  if (options->help || options->version) {
    tellu::WriteOut(stdout, options->help ? tellu::ConsoleHelp() : tellu::ConsoleVersion());
    return 0;
  }
  return tellu::RunConsole(*options, tellu::ProgramPath());
}
