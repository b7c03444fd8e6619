// The user's status as others see it: setting it, its window icon, its label
// and the status menu's entries as data for the front end to draw.
#pragma once
#include <array>
#include <string_view>

#include "chat/chat_state.h"
#include "chat/movement.h"
#include "platform/ui.h"
#include "relay/relay_port.h"

namespace tellu {

// Window icons (resource numbers).
inline constexpr int kAwayIcon = 155;
inline constexpr int kNormalIcon = 128;
int StatusIcon(int index);

// The label of a status the user can set; empty outside 0..6.
std::string_view StatusLabel(int index);

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

}  // namespace tellu
