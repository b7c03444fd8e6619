// The slot chosen on the command line: the letter S and a digit name one of
// the host installations set up in tellu.ini.
#pragma once
#include <string_view>

namespace tellu {

// Scans the whole line: "S" or "s" followed by 1..8 chooses that slot, an "S"
// followed by anything else (or by nothing) clears the choice, so the last
// letter-and-digit pair wins.  0 when no slot is chosen.  Double-byte
// characters are stepped over whole: their second byte may look like an S.
int CommandLineSlot(std::string_view command_line);

}  // namespace tellu
