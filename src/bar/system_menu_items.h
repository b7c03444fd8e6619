// The items the program appends to the input bar's system menu, as data: the
// front end builds the menu and dispatches the commands.
#pragma once
#include <vector>

namespace tellu {

// System-command values.
inline constexpr int kAboutCommand = 16;
inline constexpr int kMessageTableCommand = 32;
inline constexpr int kLogCommand = 48;
inline constexpr int kSettingsCommand = 64;
inline constexpr int kWhoCommand = 80;
inline constexpr int kAvatarChangeCommand = 512;
inline constexpr int kAvatarRequestCommand = 528;
inline constexpr int kHelpCommand = 560;

// The items' texts, by their number in the resource string table.
inline constexpr int kAboutString = 101;
inline constexpr int kMessageTableString = 102;
inline constexpr int kLogString = 103;
inline constexpr int kSettingsString = 104;
inline constexpr int kWhoString = 105;
inline constexpr int kAvatarChangeString = 106;
inline constexpr int kAvatarRequestString = 110;
inline constexpr int kHelpString = 111;

struct SystemMenuItem {
  int command;
  int string_id;
  bool grayed_until_login;  // enabled by the first login
};
// The items appended after a separator, in order; attach mode has no relay
// and so none of the chat items.
std::vector<SystemMenuItem> SystemMenuItems(bool launch_mode);

}  // namespace tellu
