// The user's status, its icon, label and menu.
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

TEST(StatusLabelTest, OnlyStatusesTheUserCanSet) {
  EXPECT_EQ(StatusLabel(0), "\x92\xCA\x8F\xED\x8F\xF3\x91\xD4");  // 通常状態
  EXPECT_EQ(StatusLabel(6), "\x83\x49\x83\x93\x90\x51\x92\x86");  // オン寝中
  for (int s : {-1, 7, 8}) EXPECT_EQ(StatusLabel(s), "") << s;
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

}  // namespace
}  // namespace tellu::chat_test
