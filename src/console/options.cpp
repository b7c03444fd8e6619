#include "console/options.h"

#include <string_view>

#include "console/commands.h"
#include "tellu_version.h"

namespace tellu {

const char kConsoleUsage[] =
    "usage: tellu-cli [S1..S8] [--ini FILE] [--windows-dir DIR]\n"
    "                 [--avatar-requests ask|yes|no] [--color auto|always|never]\n"
    "                 [--bell] [--version] [--help]\n";

std::string ConsoleHelp() {
  std::string help = kConsoleUsage;
  help +=
      "Tellu in launch mode: the host's configuration file is pointed at localhost,\n"
      "the host (PROG) is started and its chat relayed through Tellu to the server.\n"
      "Standard input is the input bar, standard output the log window.\n"
      "\n"
      "  S1..S8              use this slot only, not the first complete one of 1..8\n"
      "  --ini FILE          read and write FILE as tellu.ini\n"
      "  --windows-dir DIR   the Windows directory, where TELLU.INI and INIFILE are\n"
      "  --avatar-requests ask|yes|no\n"
      "                      when someone asks for your avatar file: ask on the\n"
      "                      console (the default), always send it, or always refuse\n"
      "  --color auto|always|never\n"
      "                      colours and links in the log; auto: only on a terminal\n"
      "  --bell              ring the terminal bell when someone whispers to you\n"
      "                      (WhisperFlash=0 in tellu.ini silences it)\n"
      "  --version           print \"tellu-cli VERSION\" and exit\n"
      "  -h, --help          print this help and exit\n"
      "\n"
      "Commands (typed as a line):\n";
  help += kCommandHelp;
  help +=
      "\n"
      "\n"
      "Environment:\n"
      "  NO_COLOR        when set, --color auto prints no colours\n"
      "  WINEPREFIX      the Wine prefix: its drive_c/windows is the Windows directory\n"
      "                  (default ~/.wine)\n"
      "  XDG_STATE_HOME  the log folder without LogName is $XDG_STATE_HOME/tellu/\n"
      "                  (default ~/.local/state/tellu/)\n"
      "\n"
      "Exit status:\n"
      "  0  ended with /quit, Ctrl+C or SIGTERM\n"
      "  2  a command line that cannot be used, or a fatal start-up error (the report,\n"
      "     with the start-up history, is on standard error)\n";
  return help;
}

std::string ConsoleVersion() { return std::string("tellu-cli ") + TELLU_VERSION + "\n"; }

std::optional<ConsoleOptions> ParseOptions(const std::vector<std::string>& args,
                                           std::string& error) {
  ConsoleOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      o.help = true;
      continue;
    }
    if (a == "--version") {
      o.version = true;
      continue;
    }
    if (a == "--bell") {
      o.bell = true;
      continue;
    }
    if (a.rfind("--", 0) != 0) {
      if (!o.slot_text.empty()) o.slot_text += ' ';
      o.slot_text += a;
      continue;
    }
    if (a != "--ini" && a != "--windows-dir" && a != "--avatar-requests" && a != "--color") {
      error = "unknown option " + a;
      return std::nullopt;
    }
    if (i + 1 >= args.size()) {
      error = a + " needs a value";
      return std::nullopt;
    }
    const std::string& v = args[++i];
    if (a == "--ini") {
      o.ini = v;
    } else if (a == "--windows-dir") {
      o.windows_dir = v;
    } else if (a == "--avatar-requests") {
      if (v == "ask")
        o.ask = AskMode::kAsk;
      else if (v == "yes")
        o.ask = AskMode::kYes;
      else if (v == "no")
        o.ask = AskMode::kNo;
      else {
        error = "--avatar-requests takes ask, yes or no";
        return std::nullopt;
      }
    } else if (a == "--color") {
      if (v == "auto")
        o.colour = ColourMode::kAuto;
      else if (v == "always")
        o.colour = ColourMode::kAlways;
      else if (v == "never")
        o.colour = ColourMode::kNever;
      else {
        error = "--color takes auto, always or never";
        return std::nullopt;
      }
    }
  }
  return o;
}

bool UseColour(ColourMode mode, bool terminal, const char* term, const char* no_color) {
  if (mode != ColourMode::kAuto) return mode == ColourMode::kAlways;
  return terminal && !(term && std::string_view(term) == "dumb") && !no_color;
}

std::string DefaultWindowsDir(const char* wineprefix, const char* home) {
  if (wineprefix && *wineprefix) return std::string(wineprefix) + "/drive_c/windows";
  return std::string(home && *home ? home : ".") + "/.wine/drive_c/windows";
}

}  // namespace tellu
