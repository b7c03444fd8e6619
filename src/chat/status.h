// The user's status as others see it, and the bar's menus and tooltips as
// data: the front end draws them, the core decides what they hold.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chat/chat_state.h"
#include "chat/movement.h"
#include "platform/ui.h"
#include "relay/relay_port.h"

namespace tellu {

// Window icons.
inline constexpr int kAwayIcon = 155;
inline constexpr int kNormalIcon = 128;
int StatusIcon(int index);

// Status commands are 800 + index.
inline constexpr int kStatusCommandBase = 800;

struct StatusMenuItem {
  int index;
  std::string_view label;  // Shift-JIS
  int bitmap;
  int command;
};
// In menu order; "ラブラブ" (5) is not offered.
std::array<StatusMenuItem, 6> StatusMenu();

// Stores the index and tells everyone who runs this program through the own
// room position.  The index already in force, or one outside 0..6 (which the
// z and dir marks could not carry), changes nothing.
void SetStatus(int index, ChatState& state, const Movement& movement, RelayPort& relay, Ui& ui);

// Bar controls with a tooltip.
inline constexpr int kWhoButton = 1001;
inline constexpr int kMessageTableButton = 1005;
inline constexpr int kStatusButton = 1059;
// The tooltip of a bar control, none for the others.
std::optional<std::string> TooltipText(int control, int status);

// System-menu commands (system-command values).
inline constexpr int kAboutCommand = 16;
inline constexpr int kMessageTableCommand = 32;
inline constexpr int kLogCommand = 48;
inline constexpr int kSettingsCommand = 64;
inline constexpr int kWhoCommand = 80;
inline constexpr int kAvatarChangeCommand = 512;
inline constexpr int kAvatarRequestCommand = 528;
inline constexpr int kHelpCommand = 560;

struct SystemMenuItem {
  int command;
  int string_id;
  std::string_view text;    // Shift-JIS, string `string_id` of the string table
  bool grayed_until_login;  // enabled by the first login
};
// The items appended after a separator, in order; attach mode has no relay
// and so none of the chat items.
std::vector<SystemMenuItem> SystemMenuItems(bool launch_mode);

// The string table's texts 101..111 (Shift-JIS); empty for any other id.
std::string_view StringText(int id);

}  // namespace tellu
