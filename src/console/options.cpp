#include "console/options.h"

#include <string_view>

namespace tellu {

std::optional<ConsoleOptions> ParseOptions(const std::vector<std::string>& args,
                                           std::string& error) {
  ConsoleOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      o.help = true;
      continue;
    }
    if (a.rfind("--", 0) != 0) {
      if (!o.slot_text.empty()) o.slot_text += ' ';
      o.slot_text += a;
      continue;
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
    } else {
      error = "unknown option " + a;
      return std::nullopt;
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
