// The Net port on POSIX sockets: non-blocking IPv4 TCP on the console's
// PosixLoop, with buffered reads and writes.
#pragma once
#include <memory>
#include <string>

#include "console/posix_loop.h"
#include "platform/net.h"

namespace tellu {

class SocketPressure;

// The loop must outlive every listener and stream made here.  Host names
// other than dotted addresses are resolved with a short blocking lookup.
// While one connection has much more queued than its peer takes, the others
// leave their input unread, so a peer that stops reading holds the senders
// back instead of filling this program's memory.
class PosixNet : public Net {
 public:
  explicit PosixNet(PosixLoop& loop);
  std::unique_ptr<Listener> Listen(int port, AcceptFn accept) override;
  std::unique_ptr<Stream> Connect(const std::string& host, int port, ConnectFn done) override;

 private:
  PosixLoop& loop_;
  std::shared_ptr<SocketPressure> pressure_;
};

}  // namespace tellu
