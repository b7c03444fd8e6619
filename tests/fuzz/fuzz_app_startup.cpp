// The start-up's readers of outside text: the command line, PROG, and a
// typed line in the bar's field.  Each result is the one its rule, written
// here once more, gives.
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

// Shift-JIS (code page 932) double-byte characters, by their byte ranges.
bool Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool Trail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
bool DoubleByte(std::string_view s, size_t i) {
  return i + 1 < s.size() && Lead(s[i]) && Trail(s[i + 1]);
}

// The slot rule read from left to right: an S or s followed by 1..8 sets
// the slot, one followed by anything else clears it; the second byte of a
// double-byte character is never a letter.
int ExpectedSlot(std::string_view line) {
  int slot = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if (DoubleByte(line, i)) {
      ++i;
    } else if (line[i] == 'S' || line[i] == 's') {
      const bool digit = i + 1 < line.size() && line[i + 1] >= '1' && line[i + 1] <= '8';
      slot = digit ? line[i + 1] - '0' : 0;
      if (digit) ++i;
    }
  }
  return slot;
}

// "&" is the folder without its trailing backslashes (a 5C that ends a
// double-byte character is none).
std::string WithFolder(std::string_view text, std::string_view dir) {
  size_t keep = 0;
  for (size_t i = 0; i < dir.size(); ++i) {
    if (DoubleByte(dir, i))
      ++i;
    else if (dir[i] == '\\')
      continue;
    keep = i + 1;
  }
  dir = dir.substr(0, keep);
  std::string out;
  for (char c : text) out += c == '&' ? std::string(dir) : std::string(1, c);
  return out;
}

// Typing into the bar: a character goes into the field while it fits in
// 110 bytes and is lost otherwise; a tab that goes in sends the field with
// it; Enter sends what is left.  (A lead byte without its second byte may
// pair with a later one inside the field: there only the limits are sure.)
void CheckTyped(std::string_view typed, const std::vector<std::string>& sends) {
  for (size_t i = 0; i < sends.size(); ++i)
    if (sends[i].size() > 110 || (i + 1 < sends.size() && !sends[i].ends_with('\t'))) std::abort();
  for (size_t i = 0; i < typed.size(); i += DoubleByte(typed, i) ? 2 : 1)
    if (Lead(typed[i]) && !DoubleByte(typed, i)) return;
  std::vector<std::string> expected(1);
  for (size_t i = 0; i < typed.size(); ++i) {
    const size_t n = DoubleByte(typed, i) ? 2 : 1;
    if (expected.back().size() + n <= 110) {
      expected.back() += typed.substr(i, n);
      if (typed[i] == '\t') expected.emplace_back();
    }
    i += n - 1;
  }
  if (sends != expected) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  if (tellu::CommandLineSlot(input) != ExpectedSlot(input)) std::abort();

  // PROG before the first NUL, the host folder after it.
  const size_t split = input.find('\0');
  const std::string_view prog = input.substr(0, split);
  const std::string_view dir =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  const tellu::ProgramToStart start = tellu::ProgramFromProg(prog, dir);
  // Split at the first blank unless PROG starts with one; "&" is the folder.
  const size_t blank = prog.find(' ');
  const bool split_here = blank != std::string_view::npos && blank != 0;
  if (start.program != WithFolder(split_here ? prog.substr(0, blank) : prog, dir) ||
      start.params != (split_here ? WithFolder(prog.substr(blank + 1), dir) : ""))
    std::abort();
  CheckArguments(prog, dir, start.args);

  CheckTyped(prog, tellu::TypedLineSends("", prog));
  return 0;
}
