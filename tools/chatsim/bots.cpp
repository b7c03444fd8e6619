#include "bots.h"

#include <algorithm>
#include <iterator>

namespace tellu::chatsim {
namespace {

const char* const kNames[] = {
    "\xe3\x81\xbf\xe3\x81\xa9\xe3\x82\x8a",  // みどり
    "Momo",
    "\xe3\x81\x95\xe3\x81\x8f\xe3\x82\x89",  // さくら
    "Ken",
    "\xe3\x81\x91\xe3\x82\x93\xe3\x81\x98",  // けんじ
    "Alice",
    "\xe3\x82\x86\xe3\x81\x86\xe3\x81\x93",  // ゆうこ
    "Bob",
};

const char* const kLines[] = {
    "\xe3\x81\x93\xe3\x82\x93\xe3\x81\xab\xe3\x81\xa1\xe3\x81\xaf",  // こんにちは
    "Hello!",
    "\xe3\x81\x84\xe3\x81\x84\xe5\xa4\xa9\xe6\xb0\x97\xe3\x81\xa7\xe3\x81\x99\xe3\x81\xad",  // いい天気ですね
    "How are you?",
    "\xe3\x81\xa1\xe3\x82\x87\xe3\x81\xa3\xe3\x81\xa8\xe6\x95\xa3\xe6\xad\xa9"
    "\xe3\x81\x97\xe3\x81\xa6\xe3\x81\x8d\xe3\x81\xbe\xe3\x81\x99",  // ちょっと散歩してきます
    "brb",
    "\xe3\x81\x93\xe3\x81\xae\xe9\x83\xa8\xe5\xb1\x8b\xe3\x81\xaf\xe5\xba\x83"
    "\xe3\x81\x84\xe3\x81\xad",  // この部屋は広いね
    "See http://example.com/ for the pictures",
};

const char* const kWhispers[] = {
    "\xe3\x81\xb2\xe3\x81\x9d\xe3\x81\xb2\xe3\x81\x9d\xe2\x80\xa6",  // ひそひそ…
    "psst, over here",
    "\xe3\x81\xbe\xe3\x81\x9f\xe5\xbe\x8c\xe3\x81\xa7",  // また後で
};

const char* const kAvatars[] = {
    "avatar\\Vavar.uza", "avatar\\cat.mov", "avatar\\robot.mov", "avatar\\kimono.mov",
};

template <typename T, std::size_t N>
constexpr uint32_t Count(T (&)[N]) { return N; }

}  // namespace

Bots::Bots(int count, uint32_t seed) : rng_(seed) {
  for (int i = 0; i < count; ++i) {
    Bot b;
    b.name = kNames[i % Count(kNames)];
    if (i >= static_cast<int>(Count(kNames))) b.name += std::to_string(i / Count(kNames) + 1);
    b.avatar = kAvatars[Roll(Count(kAvatars))];
    // Low four bits of z and dir are the marks a Tellu peer reads: some bots
    // pass for Tellu users (z mark 1, a status in dir), one kind for "Mirabo"
    // users (z mark 4), the rest for plain hosts.
    const int16_t z_mark = i % 3 == 0 ? 1 : i % 3 == 1 ? 4 : 0;
    const int16_t status = i % 3 == 0 ? static_cast<int16_t>(Roll(7)) : 0;
    b.pos.x = static_cast<int16_t>(static_cast<int>(Roll(801)) - 400);
    b.pos.y = static_cast<int16_t>(static_cast<int>(Roll(801)) - 400);
    b.pos.z = static_cast<int16_t>(16 * Roll(4) + z_mark);
    b.pos.dir = static_cast<int16_t>(16 * (static_cast<int>(Roll(22)) - 11) + status);
    bots_.push_back(b);
  }
}

BotDeed Bots::Next(const std::vector<std::string>& clients) {
  BotDeed d;
  if (bots_.empty()) return d;
  d.bot = static_cast<int>(Roll(static_cast<uint32_t>(bots_.size())));
  Bot& b = bots_[d.bot];
  const uint32_t roll = Roll(10);
  if (roll < 5) {
    d.kind = BotDeed::kWalk;
    b.pos.x = static_cast<int16_t>(std::clamp(b.pos.x + static_cast<int>(Roll(65)) - 32, -2000, 2000));
    b.pos.y = static_cast<int16_t>(std::clamp(b.pos.y + static_cast<int>(Roll(65)) - 32, -2000, 2000));
    // Turning by whole steps of 16 keeps the status mark in the low bits.
    const int turned = b.pos.dir + 16 * (static_cast<int>(Roll(5)) - 2);
    b.pos.dir = static_cast<int16_t>(turned > 180 ? turned - 352 : turned < -179 ? turned + 352 : turned);
    d.pos = b.pos;
  } else if (roll < 8) {
    d.kind = BotDeed::kSay;
    d.text = kLines[Roll(Count(kLines))];
  } else if (roll < 9 && !clients.empty()) {
    d.kind = BotDeed::kWhisper;
    d.target = clients[Roll(static_cast<uint32_t>(clients.size()))];
    d.text = kWhispers[Roll(Count(kWhispers))];
  } else {
    d.kind = BotDeed::kAvatar;
    b.avatar = kAvatars[Roll(Count(kAvatars))];
    d.avatar = b.avatar;
  }
  return d;
}

}  // namespace tellu::chatsim
