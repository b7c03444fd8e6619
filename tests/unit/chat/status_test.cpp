// The user's status, the status and system menus as data, the tooltips.
#include "chat/status.h"

#include "unit/chat/dispatcher_fixture.h"

namespace tellu::chat_test {
namespace {

using StatusTest = ChatTest;

TEST_F(StatusTest, NewStatusGoesOutInTheOwnRoomPosition) {
  FromHost(B("\x01\x12\x00\x04\x02\x02") + Pos(10, 20, 33, 96));
  relay.Clear();
  core.SetStatus(3);
  EXPECT_EQ(core.state().status, 3);
  EXPECT_EQ(ui.statuses, std::vector<int>{3});
  EXPECT_EQ(relay.to_server,
            std::vector<std::string>{B("\x01\x12\x00\x04\x02\x02") + Pos(10, 20, 33, 99)});
}

TEST_F(StatusTest, SameOrImpossibleIndexChangesNothing) {
  core.SetStatus(kNormalStatus);
  core.SetStatus(7);
  core.SetStatus(-1);
  core.SetStatus(2);
  core.SetStatus(2);
  EXPECT_EQ(ui.statuses, std::vector<int>{2});
  EXPECT_EQ(relay.to_server.size(), 1u);
}

TEST(StatusIconTest, AwayHasItsOwnIcon) {
  EXPECT_EQ(StatusIcon(kAwayStatus), 155);
  for (int s : {0, 2, 3, 4, 5, 6}) EXPECT_EQ(StatusIcon(s), 128);
}

TEST(StatusMenuTest, OffersAllButStatusFive) {
  auto menu = StatusMenu();
  std::vector<int> offered, commands, bitmaps;
  for (const auto& item : menu) {
    offered.push_back(item.index);
    commands.push_back(item.command);
    bitmaps.push_back(item.bitmap);
  }
  EXPECT_EQ(offered, (std::vector<int>{0, 1, 2, 3, 4, 6}));
  EXPECT_EQ(commands, (std::vector<int>{800, 801, 802, 803, 804, 806}));
  EXPECT_EQ(bitmaps, (std::vector<int>{151, 152, 156, 157, 158, 171}));
  EXPECT_EQ(menu[1].label, "\x97\xA3\x90\xC8\x92\x86");  // 離席中
}

TEST(TooltipTest, ButtonsOfTheBar) {
  EXPECT_EQ(TooltipText(1001, 0), "RealTimeWho\x95\x5C\x8E\xA6ON/OFF\x90\xD8\x8A\xB7");
  EXPECT_EQ(TooltipText(1005, 0),
            "\x93\x6F\x98\x5E\x83\x81\x83\x62\x83\x5A\x81\x5B\x83\x57\x91\x97\x90\x4D");
  // ステータス変更(オン寝中)
  EXPECT_EQ(TooltipText(1059, 6), "\x83\x58\x83\x65\x81\x5B\x83\x5E\x83\x58\x95\xCF\x8D\x58("
                                  "\x83\x49\x83\x93\x90\x51\x92\x86)");
  EXPECT_EQ(TooltipText(1000, 0), std::nullopt);
}

TEST(SystemMenuTest, LaunchModeAddsTheChatItemsGrayedUntilLogin) {
  std::vector<int> commands, grayed;
  for (const auto& item : SystemMenuItems(true)) {
    commands.push_back(item.command);
    if (item.grayed_until_login) grayed.push_back(item.command);
    EXPECT_EQ(item.text, StringText(item.string_id));
  }
  EXPECT_EQ(commands, (std::vector<int>{32, 48, 80, 512, 528, 64, 560, 16}));
  EXPECT_EQ(grayed, (std::vector<int>{80, 512, 528}));
  commands.clear();
  for (const auto& item : SystemMenuItems(false)) commands.push_back(item.command);
  EXPECT_EQ(commands, (std::vector<int>{32, 560, 16}));
}

TEST(SystemMenuTest, StringTableTexts) {
  EXPECT_EQ(StringText(105), "\xD8\xB1\xD9\xC0\xB2\xD1Who\x95\x5C\x8E\xA6(&W)");  // ﾘｱﾙﾀｲﾑWho表示(&W)
  EXPECT_EQ(StringText(107), "Free Memory   %lu KB / %lu KB\r\n");
  EXPECT_EQ(StringText(109), "\x95\x73\x96\xBE");  // 不明
  EXPECT_EQ(StringText(100), "");
  EXPECT_EQ(StringText(112), "");
}

}  // namespace
}  // namespace tellu::chat_test
