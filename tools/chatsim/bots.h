// Bots that make a chatsim server look inhabited: they walk, talk in Japanese
// and English, whisper to clients and change avatars.  The same seed gives the
// same sequence of deeds.
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "wire.h"

namespace tellu::chatsim {

struct Bot {
  std::string name;
  std::string avatar;
  Pos pos;
};

struct BotDeed {
  enum Kind { kWalk, kSay, kWhisper, kAvatar } kind = kWalk;
  int bot = 0;           // index into Bots::bots()
  Pos pos;               // kWalk
  std::string text;      // kSay, kWhisper
  std::string target;    // kWhisper
  std::string avatar;    // kAvatar
};

class Bots {
 public:
  Bots(int count, uint32_t seed);
  const std::vector<Bot>& bots() const { return bots_; }
  // What one of the bots does next; `clients` are the names it may whisper
  // to.  The bot's own record is updated to match.
  BotDeed Next(const std::vector<std::string>& clients);

 private:
  uint32_t Roll(uint32_t n) { return n ? static_cast<uint32_t>(rng_() % n) : 0; }

  std::mt19937 rng_;  // its output is fixed by the standard, unlike distributions
  std::vector<Bot> bots_;
};

}  // namespace tellu::chatsim
