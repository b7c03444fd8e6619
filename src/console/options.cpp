#include "console/options.h"

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
    } else {
      error = "unknown option " + a;
      return std::nullopt;
    }
  }
  return o;
}

std::string DefaultWindowsDir(const char* wineprefix, const char* home) {
  if (wineprefix && *wineprefix) return std::string(wineprefix) + "/drive_c/windows";
  return std::string(home && *home ? home : ".") + "/.wine/drive_c/windows";
}

}  // namespace tellu
