#include "relay_load_mix.h"

#include <array>
#include <random>

namespace tellu::bench {
namespace {

// Wire text is UTF-8; a few lines carry Japanese, as in a real room.
constexpr std::array<std::string_view, 8> kSpeakers = {
    "Aki", "Ben", "Chiyo", "Daisuke", "Emi", "Fumi", "\xE3\x81\x95\xE3\x81\x8F\xE3\x82\x89",
    "Gen"};  // さくら
constexpr std::array<std::string_view, 10> kPhrases = {
    "hello everyone",
    "anyone seen the new room by the lake?",
    "\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF",  // こんにちは
    "brb, tea",
    "nice avatar!",
    "\xE3\x81\x8A\xE3\x81\xA4\xE3\x81\x8B\xE3\x82\x8C\xE3\x81\x95\xE3\x81\xBE\xE3\x81\xA7"
    "\xE3\x81\x99",  // おつかれさまです
    "who wants to go to the tower? it has the best view at night",
    "lol",
    "I will be away for a bit, keep the fire going",
    "see you tomorrow"};

class Builder {
 public:
  explicit Builder(uint32_t seed) : rng_(seed) {}

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

  static void Str(std::string& out, std::string_view text) {
    out += static_cast<char>(text.size());
    out += text;
  }
  static void Pos(std::string& out, int x, int y, int z, int dir) {
    for (int v : {x, y, z, dir}) {
      out += static_cast<char>((v >> 8) & 0xFF);
      out += static_cast<char>(v & 0xFF);
    }
  }
  void RandomPos(std::string& out) { Pos(out, Pick(-2000, 2000), Pick(-2000, 2000), Pick(0, 400), Pick(-179, 180)); }

  // A line no one has said just before: the automatic mute stays out of it.
  std::string Line() {
    std::string text(kPhrases[Pick(0, kPhrases.size() - 1)]);
    text += " #" + std::to_string(++lines_);
    return text;
  }
  std::string_view Speaker() { return kSpeakers[Pick(0, kSpeakers.size() - 1)]; }

 private:
  std::mt19937 rng_;
  unsigned lines_ = 0;
};

int NormaliseAngle(int a) {
  if (a > 180) a -= 360 * ((a + 179) / 360);
  if (a < -179) a += 360 * ((180 - a) / 360);
  return a;
}

void Add(Stream& s, const std::string& payload, const std::string& relayed_payload) {
  s.bytes += static_cast<char>(payload.size() + 1);
  s.bytes += payload;
  s.ends.push_back(static_cast<uint32_t>(s.bytes.size()));
  s.relayed += static_cast<char>(relayed_payload.size() + 1);
  s.relayed += relayed_payload;
  s.relayed_ends.push_back(static_cast<uint32_t>(s.relayed.size()));
}

// Host to server, per 20: 12 own moves, 5 chat lines, 3 whispers.
void AddUp(Builder& b, Stream& s, std::string_view own_name) {
  const int kind = b.Pick(0, 19);
  std::string p;
  if (kind < 12) {
    const int x = b.Pick(-2000, 2000), y = b.Pick(-2000, 2000), z = b.Pick(0, 400),
              dir = b.Pick(-179, 180);
    p = "\x01\x01";
    Builder::Pos(p, x, y, z, dir);
    // The relay reports the position with its marks: z ends in 0001, dir
    // carries the status (0) in its low four bits.
    std::string marked = "\x01\x01";
    Builder::Pos(marked, x, y, ((z + 5) & ~15) + 1, NormaliseAngle(dir & ~15));
    Add(s, p, marked);
    return;
  }
  if (kind < 17) {
    p = std::string("\x01\x0E\x00", 3) + '\0';
    Builder::Str(p, b.Line());
  } else {
    p = std::string(1, '\0');
    Builder::Str(p, b.Speaker());
    p += std::string("\x11\x00", 2);
    Builder::Str(p, own_name);
    Builder::Str(p, b.Line());
  }
  Add(s, p, p);
}

// Server to host, per 20: 9 object moves, 3 position batches, 5 chat lines,
// 1 whisper, 2 object events.  Tellu rebuilds all but the lines.
void AddDown(Builder& b, Stream& s) {
  const int kind = b.Pick(0, 19);
  std::string p;
  if (kind < 9) {
    p += static_cast<char>(b.Pick(2, 11));
    p += '\x01';
    b.RandomPos(p);
  } else if (kind < 12) {
    // Objects ascending, each once, skipped byte 0: as Tellu rebuilds it.
    p = "\xFE\x0C";
    for (int object = 2; object <= 11; ++object) {
      if (b.Pick(0, 2) != 0) continue;
      p += static_cast<char>(object);
      p += '\0';
      p += '\x01';
      b.RandomPos(p);
    }
    if (p.size() == 2) {
      p += std::string("\x05\x00\x01", 3);
      b.RandomPos(p);
    }
  } else if (kind < 17) {
    p = std::string("\x01\x0E\x00", 3);
    Builder::Str(p, b.Speaker());
    Builder::Str(p, b.Line());
  } else if (kind < 18) {
    p = std::string("\x01\x11\x00", 3);
    Builder::Str(p, b.Speaker());
    Builder::Str(p, b.Line());
  } else {
    p = "\xFE\x04";
    p += static_cast<char>(b.Pick(2, 11));
    for (int i = 0; i < 3; ++i) p += static_cast<char>(b.Pick(0, 255));
  }
  Add(s, p, p);
}

}  // namespace

Traffic MakeTraffic(size_t messages, uint32_t seed, std::string_view own_name) {
  Builder b(seed);
  Traffic t;
  std::string login("\x01\x06\x03", 3);
  Builder::Str(login, "password");
  login += '\x04';
  Builder::Str(login, "avatar\\Vavar.uza");
  login += '\x05';
  Builder::Str(login, own_name);
  t.login = static_cast<char>(login.size() + 1) + login;
  for (size_t i = 0; i < messages; ++i) {
    AddUp(b, t.up, own_name);
    AddDown(b, t.down);
  }
  return t;
}

}  // namespace tellu::bench
