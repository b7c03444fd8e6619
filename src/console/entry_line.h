// One log entry as a terminal line, coloured as the log window draws it, its
// addresses as terminal hyperlinks to what a double click there would open.
#pragma once
#include <string>
#include <string_view>

namespace tellu {

// prefix and text are the entry's Shift-JIS pieces (the prefix with its
// blank).  Without colours: the plain UTF-8 of both, byte for byte.
std::string EntryLine(std::string_view prefix, std::string_view text, bool whisper, bool colour);

}  // namespace tellu
