// Framed messages between host and server: a length byte (payload length + 1)
// then the payload.  Framing for sending, and reassembly of received bytes.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "relay/protocol.h"

namespace tellu {

inline constexpr size_t kMaxFrame = kMaxPayload + 1;

// Writes the framed payload into out (kMaxFrame bytes) and returns the frame's
// size, or 0 for a payload that cannot be framed: empty, or longer than
// kMaxPayload, whose length byte would lie.
size_t FrameMessage(std::string_view payload, char* out);

// Cuts a byte stream into payloads, however the stream is split.  Length
// bytes 0 and 1 carry no payload: they are skipped, and the next byte is a
// length byte again.
class Reassembly {
 public:
  // Calls message(payload) for each payload completed by these bytes, in
  // order; stops, dropping the rest, when message returns false.  The payload
  // view is valid only during the call.
  template <class F>
  void Feed(std::string_view bytes, F&& message);
  // Forgets a partly received message.
  void Reset() {
    remaining_ = 0;
    buffer_.clear();
  }
  bool InMessage() const { return remaining_ != 0; }

 private:
  size_t remaining_ = 0;  // payload bytes still to come; 0: a length byte is next
  std::string buffer_;
};

template <class F>
void Reassembly::Feed(std::string_view bytes, F&& message) {
  size_t i = 0;
  while (i < bytes.size()) {
    if (remaining_ == 0) {
      const size_t length = static_cast<uint8_t>(bytes[i++]);
      if (length <= 1) continue;
      remaining_ = length - 1;
      if (bytes.size() - i >= remaining_) {
        // Whole in this chunk: no copy.
        std::string_view payload = bytes.substr(i, remaining_);
        i += remaining_;
        remaining_ = 0;
        if (!message(payload)) return;
        continue;
      }
      buffer_.clear();
    }
    const size_t take = std::min(remaining_, bytes.size() - i);
    buffer_.append(bytes.data() + i, take);
    i += take;
    remaining_ -= take;
    if (remaining_ == 0 && !message(std::string_view(buffer_))) return;
  }
}

}  // namespace tellu
