// Standard input as lines on Windows: keys typed on a console, assembled and
// echoed in UTF-16, and the bytes of a pipe or a file.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "text/typed_text.h"

namespace tellu {

// A line longer than this is handed on as it is, so no input can grow a
// line without end.
inline constexpr size_t kMaxInputLine = 64 * 1024;

// What some input gave: lines as the program's text (Shift-JIS) or refused,
// what to echo on the console, and whether the input has ended.
struct InputLines {
  std::vector<TypedLine> lines;
  std::wstring echo;
  bool end = false;
};

// Keys of the console's input records.  Enter ends the line, Backspace takes
// back a character, Esc clears the line, Ctrl+Z on an empty line ends the
// input, and keys after that are not read; other control keys are ignored.
class ConsoleLineEditor {
 public:
  void Key(const KEY_EVENT_RECORD& key, InputLines& out);
  const std::u16string& line() const { return line_; }

 private:
  void Char(char16_t c, InputLines& out);
  void Erase(size_t units, InputLines& out);

  std::u16string line_;
};

// Bytes cut at LF (a CR before it goes with it).  A line is UTF-8 when it is
// valid UTF-8 (a byte order mark at the very start is dropped), else it is
// taken as Shift-JIS, as Japanese Windows programs write to pipes.
class PipeLines {
 public:
  void Feed(std::string_view bytes, InputLines& out);
  // The input has ended: a last line without LF is handed on.
  void Finish(InputLines& out);

 private:
  void Emit(std::string line, InputLines& out);

  std::string pending_;
  bool first_ = true;
};

// The UTF-8 or Shift-JIS line as the program's text.
TypedLine InputText(std::string_view bytes);

}  // namespace tellu
