#include "bar/system_menu_items.h"

#include <gtest/gtest.h>

namespace tellu {
namespace {

TEST(SystemMenuTest, LaunchModeAddsTheChatItemsGrayedUntilLogin) {
  std::vector<int> commands, strings, grayed;
  for (const auto& item : SystemMenuItems(true)) {
    commands.push_back(item.command);
    strings.push_back(item.string_id);
    if (item.grayed_until_login) grayed.push_back(item.command);
  }
  EXPECT_EQ(commands, (std::vector<int>{32, 48, 80, 512, 528, 64, 560, 16}));
  EXPECT_EQ(strings, (std::vector<int>{102, 103, 105, 106, 110, 104, 111, 101}));
  EXPECT_EQ(grayed, (std::vector<int>{80, 512, 528}));
  commands.clear();
  strings.clear();
  for (const auto& item : SystemMenuItems(false)) {
    commands.push_back(item.command);
    strings.push_back(item.string_id);
  }
  EXPECT_EQ(commands, (std::vector<int>{32, 560, 16}));
  EXPECT_EQ(strings, (std::vector<int>{102, 111, 101}));
}

}  // namespace
}  // namespace tellu
