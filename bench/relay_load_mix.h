// The relay benchmark's traffic: a busy room's message mix in both
// directions, framed, with the bytes the relay is expected to pass on.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tellu::bench {

// A run of framed messages one way.  `relayed` is what arrives through
// Tellu's relay (own moves carry its z and dir marks); a plain forwarder
// passes `bytes` unchanged.  Each message gives exactly one frame both ways.
struct Stream {
  std::string bytes, relayed;
  std::vector<uint32_t> ends, relayed_ends;  // end offset of each frame

  size_t count() const { return ends.size(); }
  std::string_view Frame(size_t i) const { return Piece(bytes, ends, i); }
  std::string_view RelayedFrame(size_t i) const { return Piece(relayed, relayed_ends, i); }

 private:
  static std::string_view Piece(const std::string& s, const std::vector<uint32_t>& ends,
                                size_t i) {
    const size_t begin = i == 0 ? 0 : ends[i - 1];
    return std::string_view(s).substr(begin, ends[i] - begin);
  }
};

struct Traffic {
  std::string login;  // the host's first message, framed: the relay starts with it
  Stream up;          // host to server: own moves, chat text, whispers sent
  Stream down;        // server to host: chat text, whispers, moves, batches, events
};

// `messages` in each direction, the same for the same seed.  `own_name` is the
// user the host logs in as.
Traffic MakeTraffic(size_t messages, uint32_t seed, std::string_view own_name);

}  // namespace tellu::bench
