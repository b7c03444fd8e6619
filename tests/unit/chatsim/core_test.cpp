// Object numbers in crowded rooms, checked on the routing core directly.
#include <gtest/gtest.h>

#include <set>

#include "core.h"
#include "frame.h"

namespace tellu::chatsim {
namespace {

std::vector<ServerMessage> Drain(ServerCore& core, int id) {
  std::vector<ServerMessage> got;
  FrameReader reader;
  reader.Feed(*core.Output(id), [&](std::string_view p) { got.push_back(ParseFromServer(p)); });
  core.Output(id)->clear();
  return got;
}

int LoggedIn(ServerCore& core, const std::string& name) {
  const int id = core.Connect();
  EXPECT_TRUE(core.Receive(id, BuildLogin("", "", name)));
  return id;
}

TEST(ServerCore, TenOthersFillNumbersTwoToElevenAndTheNextWaitsForAFreeOne) {
  ServerCore core;
  const int viewer = LoggedIn(core, "Viewer");
  std::vector<int> others;
  for (int i = 0; i < 11; ++i) others.push_back(LoggedIn(core, "P" + std::to_string(i)));
  std::map<std::string, uint8_t> numbers;
  for (const ServerMessage& m : Drain(core, viewer))
    if (m.kind == ServerKind::kNaming) numbers[m.name] = m.number;
  ASSERT_EQ(numbers.size(), 10u);
  EXPECT_EQ(numbers.count("P10"), 0u);
  std::set<uint8_t> used;
  for (auto& [name, n] : numbers) used.insert(n);
  EXPECT_EQ(used, (std::set<uint8_t>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));

  core.Disconnect(others[4]);
  const auto after = Drain(core, viewer);
  ASSERT_GE(after.size(), 2u);
  EXPECT_EQ(after[0].kind, ServerKind::kRelease);
  EXPECT_EQ(after[0].numbers, std::vector<uint8_t>{numbers["P4"]});
  EXPECT_EQ(after[1].kind, ServerKind::kNaming);
  EXPECT_EQ(after[1].name, "P10");
  EXPECT_EQ(after[1].number, numbers["P4"]);
}

TEST(ServerCore, PeopleInOtherRoomsAreNotInTheView) {
  ServerCore core;
  const int a = LoggedIn(core, "A");
  const int b = LoggedIn(core, "B");
  core.EnterRoom(b, 5, {});
  Drain(core, a);
  core.Move(b, {1, 1, 1, 1});
  core.Say(b, "B", "far away");
  EXPECT_TRUE(Drain(core, a).empty());
  core.EnterRoom(a, 5, {});
  bool named = false;
  for (const ServerMessage& m : Drain(core, a)) named |= m.kind == ServerKind::kNaming && m.name == "B";
  EXPECT_TRUE(named);
}

TEST(ServerCore, MessagesBeforeTheLoginOrFromStrangersAreRefused) {
  ServerCore core;
  const int id = core.Connect();
  EXPECT_FALSE(core.Receive(id, BuildLogin("", "", "")));  // a login without a name
  EXPECT_FALSE(core.Receive(999, BuildLogin("", "", "X")));
  EXPECT_EQ(core.Output(999), nullptr);
}

}  // namespace
}  // namespace tellu::chatsim
