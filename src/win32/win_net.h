// The Net port on Winsock 2: non-blocking IPv4 TCP whose notifications come
// to the message window through WSAAsyncSelect, driving the shared stream
// core.
#pragma once
#include <winsock2.h>

#include "platform/socket_net.h"
#include "win32/message_window.h"

namespace tellu {

// Winsock for the life of the program.
class WinsockSession {
 public:
  WinsockSession();
  ~WinsockSession();
  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

// The message window must outlive every listener and stream made here.
// Host names other than dotted addresses are resolved with a short blocking
// lookup.
class WinNet : public SocketNet {
 public:
  explicit WinNet(MessageWindow& window);
};

}  // namespace tellu
