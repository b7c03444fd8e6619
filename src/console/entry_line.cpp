#include "console/entry_line.h"

#include "console/display_text.h"
#include "log/find_address.h"

namespace tellu {
namespace {

constexpr char kBlue[] = "\x1b[34m";
constexpr char kRed[] = "\x1b[31m";
constexpr char kMagenta[] = "\x1b[35m";
constexpr char kReset[] = "\x1b[0m";
constexpr char kLinkStart[] = "\x1b]8;;";
constexpr char kLinkEnd[] = "\x1b\\";

void Append(std::string& out, std::string_view utf8, const char* colour) {
  if (utf8.empty()) return;
  if (!colour) {
    out += utf8;
    return;
  }
  out += colour;
  out += utf8;
  out += kReset;
}

// A link target ends at ESC or BEL; none may reach the terminal inside one.
std::string LinkTarget(std::string_view sjis) {
  std::string target = TerminalText(sjis);
  for (char& c : target)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return target;
}

}  // namespace

std::string EntryLine(std::string_view prefix, std::string_view text, bool whisper, bool colour) {
  std::string out;
  Append(out, TerminalText(prefix), colour ? kBlue : nullptr);
  if (!colour) {
    out += TerminalText(text);
    return out;
  }
  const char* body = whisper ? kRed : nullptr;
  size_t done = 0;
  while (const auto span = FindAddress(text, done)) {
    Append(out, TerminalText(text.substr(done, span->start - done)), body);
    const std::string_view address = text.substr(span->start, span->length);
    out += kMagenta;
    out += kLinkStart + LinkTarget(AddressToOpen(address)) + kLinkEnd;
    out += TerminalText(address);
    out += std::string(kLinkStart) + kLinkEnd;
    out += kReset;
    done = span->start + span->length;
  }
  Append(out, TerminalText(text.substr(done)), body);
  return out;
}

}  // namespace tellu
