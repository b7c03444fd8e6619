// A Windows parameter string as the arguments a program is given from it:
// the split CommandLineToArgvW makes of what follows the program's name.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tellu {

// Blanks and tabs outside quotes separate arguments; quotes group and are
// dropped; backslashes count only before a quote (2n of them and a quote:
// n backslashes and the quote groups; 2n+1: n backslashes and a literal
// quote); a quote right after a closing quote is a literal one.  On Shift-JIS
// bytes: the second byte of a double-byte character is never a backslash.
std::vector<std::string> SplitCommandLine(std::string_view params);

}  // namespace tellu
