// The avatar menus (change, request, registered avatars) as data, and their
// command numbers.
#pragma once
#include <string>
#include <vector>

namespace tellu {

// A popup menu as data: the front end shows it and hands back the command of
// the chosen item.
struct MenuItem {
  enum class Kind { kText, kSeparator, kPopup };
  Kind kind = Kind::kText;
  int command = 0;              // kText
  std::string label;            // kText and kPopup, Shift-JIS
  std::vector<MenuItem> items;  // kPopup
};
using Menu = std::vector<MenuItem>;

// Menu commands (the bar's command identifiers).
inline constexpr int kChangeCommandBase = 0x200;      // + object 1..11
inline constexpr int kRequestCommandBase = 0x210;     // + object 2..11
inline constexpr int kRegisteredCommandBase = 0x220;  // + registered entry 0..255
inline constexpr int kMenuEntries = 12;

}  // namespace tellu
