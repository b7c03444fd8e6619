#include "bar/system_menu_items.h"

namespace tellu {

namespace {

struct MenuRow {
  SystemMenuItem item;
  bool launch_only;
};

constexpr MenuRow kSystemMenu[] = {
    {{kMessageTableCommand, kMessageTableString, false}, false},
    {{kLogCommand, kLogString, false}, true},
    {{kWhoCommand, kWhoString, true}, true},
    {{kAvatarChangeCommand, kAvatarChangeString, true}, true},
    {{kAvatarRequestCommand, kAvatarRequestString, true}, true},
    {{kSettingsCommand, kSettingsString, false}, true},
    {{kHelpCommand, kHelpString, false}, false},
    {{kAboutCommand, kAboutString, false}, false},
};

}  // namespace

std::vector<SystemMenuItem> SystemMenuItems(bool launch_mode) {
  std::vector<SystemMenuItem> items;
  for (const MenuRow& row : kSystemMenu) {
    if (launch_mode || !row.launch_only) items.push_back(row.item);
  }
  return items;
}

}  // namespace tellu
