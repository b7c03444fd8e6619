// Bots: the same seed gives the same life; their marks survive their walks.
#include <gtest/gtest.h>

#include <set>

#include "bots.h"

namespace tellu::chatsim {
namespace {

std::string Describe(const BotDeed& d) {
  return std::to_string(d.kind) + "/" + std::to_string(d.bot) + "/" + std::to_string(d.pos.x) +
         "," + std::to_string(d.pos.y) + "," + std::to_string(d.pos.dir) + "/" + d.text + "/" +
         d.target + "/" + d.avatar;
}

std::vector<std::string> Life(uint32_t seed, int steps) {
  Bots bots(4, seed);
  std::vector<std::string> deeds;
  for (const Bot& b : bots.bots()) deeds.push_back(b.name + b.avatar);
  for (int i = 0; i < steps; ++i) deeds.push_back(Describe(bots.Next({"Alice", "Bob"})));
  return deeds;
}

TEST(Bots, SameSeedSameLifeOtherSeedOtherLife) {
  EXPECT_EQ(Life(7, 200), Life(7, 200));
  EXPECT_NE(Life(7, 200), Life(8, 200));
}

TEST(Bots, NamesAreDistinctEvenBeyondTheList) {
  Bots bots(20, 1);
  std::set<std::string> names;
  for (const Bot& b : bots.bots()) names.insert(b.name);
  EXPECT_EQ(names.size(), 20u);
}

TEST(Bots, WalkingKeepsTheMarksAndTheAngleRange) {
  Bots bots(6, 3);
  std::vector<Pos> start;
  for (const Bot& b : bots.bots()) start.push_back(b.pos);
  std::set<int> kinds;
  for (int i = 0; i < 2000; ++i) {
    const BotDeed d = bots.Next({"Alice"});
    kinds.insert(d.kind);
    if (d.kind == BotDeed::kWhisper) {
      EXPECT_EQ(d.target, "Alice");
    }
    if (d.kind != BotDeed::kWalk) continue;
    EXPECT_EQ(d.pos.z & 15, start[d.bot].z & 15);
    EXPECT_EQ(d.pos.dir & 15, start[d.bot].dir & 15);
    EXPECT_GE(d.pos.dir, -179);
    EXPECT_LE(d.pos.dir, 180);
  }
  EXPECT_EQ(kinds.size(), 4u);  // walk, say, whisper and avatar all happen
}

TEST(Bots, NoWhispersWithoutClients) {
  Bots bots(3, 5);
  for (int i = 0; i < 500; ++i) EXPECT_NE(bots.Next({}).kind, BotDeed::kWhisper);
}

}  // namespace
}  // namespace tellu::chatsim
