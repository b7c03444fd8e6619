// The Net port on POSIX sockets: non-blocking IPv4 TCP on the console's
// PosixLoop, driving the shared stream core.
#pragma once
#include "platform/socket_net.h"
#include "posix/posix_loop.h"

namespace tellu {

// The loop must outlive every listener and stream made here.  Host names
// other than dotted addresses are resolved with a short blocking lookup.
class PosixNet : public SocketNet {
 public:
  explicit PosixNet(PosixLoop& loop);
};

}  // namespace tellu
