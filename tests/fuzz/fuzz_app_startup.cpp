// The start-up's readers of outside text: the command line, PROG, and a
// typed line in the bar's field.  No crash, and each result keeps its rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/launch.h"
#include "bar/typed_line.h"
#include "text/paths.h"

namespace {

// PROG's arguments: the folder in every one of them, never more of them than
// runs of non-blanks in the parameters (quotes only join), and without
// quotes or tabs just the blank-separated words.
void CheckArguments(std::string_view prog, std::string_view dir,
                    const std::vector<std::string>& args) {
  const size_t blank = prog.find(' ');
  const std::string_view params =
      blank == std::string_view::npos || blank == 0 ? std::string_view() : prog.substr(blank + 1);
  std::vector<std::string> words;
  bool in_word = false;
  for (char c : params) {
    if (c == ' ' || c == '\t') {
      in_word = false;
      continue;
    }
    if (!in_word) words.emplace_back();
    in_word = true;
    words.back() += c;
  }
  if (args.size() > words.size()) std::abort();
  if (dir.find('&') == std::string_view::npos)
    for (const std::string& arg : args)
      if (arg.find('&') != std::string::npos) std::abort();
  if (params.find_first_of("\"\t") != std::string_view::npos) return;
  const std::string folder = tellu::WithoutTrailingBackslash(dir);
  for (std::string& word : words) {
    std::string replaced;
    for (char c : word) replaced += c == '&' ? folder : std::string(1, c);
    word = replaced;
  }
  if (args != words) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const int slot = tellu::CommandLineSlot(input);
  if (slot < 0 || slot > 8) std::abort();

  // PROG before the first NUL, the host folder after it.
  const size_t split = input.find('\0');
  const std::string_view prog = input.substr(0, split);
  const std::string_view dir =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  const tellu::ProgramToStart start = tellu::ProgramFromProg(prog, dir);
  if (start.program.find('&') != std::string::npos && dir.find('&') == std::string_view::npos)
    std::abort();
  if (!start.params.empty() && (prog.find(' ') == std::string_view::npos || prog[0] == ' '))
    std::abort();
  CheckArguments(prog, dir, start.args);

  // Every piece sent fits the field; all but the last end in a tab.
  const auto sends = tellu::TypedLineSends("", prog);
  if (sends.empty()) std::abort();
  for (size_t i = 0; i < sends.size(); ++i) {
    if (sends[i].size() > 110) std::abort();
    if (i + 1 < sends.size() && (sends[i].empty() || sends[i].back() != '\t')) std::abort();
  }
  return 0;
}
