// Framing of the chat protocol for chatsim: one length byte (payload length
// + 1), then the payload.  The reader survives any byte stream.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "relay/protocol.h"

namespace tellu::chatsim {

using tellu::kMaxPayload;

// Length byte + payload, or an empty string when the payload is empty or
// longer than kMaxPayload (such a payload cannot be framed).
std::string Frame(std::string_view payload);

// Cuts a byte stream into payloads.  Length bytes 0 and 1 announce no payload
// bytes and are skipped, so garbage can never make the reader wait for more
// than 254 bytes or hand out an empty payload.
class FrameReader {
 public:
  void Feed(std::string_view bytes, const std::function<void(std::string_view)>& on_payload);
  // True while a message has been started but not completed.
  bool Partial() const { return remaining_ > 0; }

 private:
  std::size_t remaining_ = 0;
  std::string buffer_;
};

}  // namespace tellu::chatsim
