// The console's input lines and its output of remote text: any bytes parse
// to a defined command, and no control character reaches the terminal.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "console/commands.h"
#include "console/display_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const tellu::Command c = tellu::ParseCommand(input);
  using Kind = tellu::Command::Kind;
  if (c.kind == Kind::kStatus && (c.number < 0 || c.number > 6)) std::abort();
  if (c.kind == Kind::kTableSend && (c.number < 1 || c.number > 16)) std::abort();
  if ((c.kind == Kind::kMute || c.kind == Kind::kUnmute || c.kind == Kind::kRequest) &&
      c.text.empty())
    std::abort();
  if (!input.empty() && input[0] != '/' && (c.kind != Kind::kType || c.text != input)) std::abort();

  const std::string shown = tellu::TerminalText(input);
  // ASCII alone: each byte as it is, CR LF as LF, tab and LF kept, any other
  // control byte as "?".
  std::string ascii;
  bool only_ascii = true;
  for (size_t i = 0; i < input.size(); ++i) {
    const auto b = static_cast<unsigned char>(input[i]);
    only_ascii = only_ascii && b < 0x80;
    if (b == '\r' && i + 1 < input.size() && input[i + 1] == '\n') continue;
    ascii += b == '\n' || b == '\t' || (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '?';
  }
  if (only_ascii && shown != ascii) std::abort();
  for (size_t i = 0; i < shown.size(); ++i) {
    const auto b = static_cast<unsigned char>(shown[i]);
    if ((b < 0x20 && b != '\n' && b != '\t') || b == 0x7F) std::abort();
    if (b == 0xC2 && i + 1 < shown.size() && static_cast<unsigned char>(shown[i + 1]) >= 0x80 &&
        static_cast<unsigned char>(shown[i + 1]) <= 0x9F)
      std::abort();
  }
  return 0;
}
