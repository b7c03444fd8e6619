// What serves an avatar-exchange connection: an accepted peer (kinds 1 and 2)
// or an outgoing transfer (kind 3).  The avatar exchange implements it.
#pragma once
#include <string_view>

namespace tellu {

class PeerObject {
 public:
  virtual ~PeerObject() = default;
  // Bytes from the peer as they arrive.  The object may close or destroy the
  // connection from here.
  virtual void OnReceive(std::string_view bytes) = 0;
  // The peer closed the connection or it failed.
  virtual void OnClose() = 0;
};

}  // namespace tellu
