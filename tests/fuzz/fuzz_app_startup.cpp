// The start-up's readers of outside text: the command line, PROG, and a
// typed line in the bar's field.  No crash, and each result keeps its rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/command_line.h"
#include "app/launch.h"
#include "app/typed_line.h"

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

  // Every piece sent fits the field; all but the last end in a tab.
  const auto sends = tellu::TypedLineSends("", prog);
  if (sends.empty()) std::abort();
  for (size_t i = 0; i < sends.size(); ++i) {
    if (sends[i].size() > 110) std::abort();
    if (i + 1 < sends.size() && (sends[i].empty() || sends[i].back() != '\t')) std::abort();
  }
  return 0;
}
