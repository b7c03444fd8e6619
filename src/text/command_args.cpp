#include "text/command_args.h"

#include "text/sjis.h"

namespace tellu {

std::vector<std::string> SplitCommandLine(std::string_view s) {
  std::vector<std::string> args;
  std::string arg;
  bool in_arg = false;
  // 0 outside quotes, 1 inside; 2 just after a closing quote, which a
  // further quote turns into a literal one.
  int quotes = 0;
  size_t backslashes = 0;  // just before this character
  size_t i = 0;
  while (i < s.size()) {
    const size_t n = text::CharSize(s, i);
    const char c = s[i];
    if (n == 1 && (c == ' ' || c == '\t') && quotes == 0) {
      if (in_arg) args.push_back(std::move(arg));
      arg.clear();
      in_arg = false;
      backslashes = 0;
      ++i;
      continue;
    }
    in_arg = true;
    if (n == 1 && c == '\\') {
      arg += c;
      ++backslashes;
      ++i;
      continue;
    }
    if (n == 1 && c == '"') {
      if (backslashes % 2 == 0) {
        arg.erase(arg.size() - backslashes / 2);
        ++quotes;
      } else {
        arg.erase(arg.size() - backslashes / 2 - 1);
        arg += '"';
      }
      backslashes = 0;
      // A quote byte is never the second byte of a character.
      for (++i; i < s.size() && s[i] == '"'; ++i) {
        if (++quotes == 3) {
          arg += '"';
          quotes = 0;
        }
      }
      if (quotes == 2) quotes = 0;
      continue;
    }
    arg.append(s.substr(i, n));
    backslashes = 0;
    i += n;
  }
  if (in_arg) args.push_back(std::move(arg));
  return args;
}

}  // namespace tellu
