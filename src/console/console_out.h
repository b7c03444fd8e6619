// Text on standard output or standard error in the form the system's console
// takes it, so a program line shows the same on every platform.
#pragma once
#include <cstdio>
#include <string_view>

namespace tellu {

// Writes UTF-8 text to stdout or stderr at once (flushed): as it is, or as
// UTF-16 to a Windows console.
void WriteOut(std::FILE* stream, std::string_view utf8);

}  // namespace tellu
