// Small types the avatar exchange's units share: where the host lives, a
// transfer order from the handshake, and popup menus as data.
#pragma once
#include <string>
#include <vector>

namespace tellu {

// What the front end tells the exchange about the host and the bar.
struct HostPlaces {
  std::string program_dir;  // the host program directory, ending in a backslash
  std::string bar_title;    // the input bar's window title
};

// get: this side receives the file; put: this side sends it.
enum class TransferDirection { kGet, kPut };

// A transfer this side opens: the handshake decides, the exchange connects.
struct TransferOrder {
  std::string peer;     // the other person's handle
  std::string address;  // the other side's dotted address
  std::string file;     // reference relative to the host program directory
  TransferDirection direction = TransferDirection::kGet;
};

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
