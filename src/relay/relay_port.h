// The relay's two send operations as the chat core sees them.  Each takes a
// complete payload (1..254 bytes); framing is the relay's business.
#pragma once
#include <string_view>

namespace tellu {

class RelayPort {
 public:
  virtual ~RelayPort() = default;
  virtual void SendToServer(std::string_view payload) = 0;
  virtual void SendToHost(std::string_view payload) = 0;
  // True while a server connection can take messages.
  virtual bool HasServer() const = 0;
};

}  // namespace tellu
