// The Net port on POSIX sockets: non-blocking IPv4 TCP on the console's
// PosixLoop, driving the shared stream core.
#pragma once
#include <memory>
#include <string>

#include "posix/posix_loop.h"
#include "platform/net.h"

namespace tellu {

class StreamGroup;

// The loop must outlive every listener and stream made here.  Host names
// other than dotted addresses are resolved with a short blocking lookup.
class PosixNet : public Net {
 public:
  explicit PosixNet(PosixLoop& loop);
  ~PosixNet() override;
  std::unique_ptr<Listener> Listen(int port, AcceptFn accept) override;
  std::unique_ptr<Stream> Connect(const std::string& host, int port, ConnectFn done) override;

 private:
  PosixLoop& loop_;
  std::shared_ptr<StreamGroup> group_;
};

}  // namespace tellu
