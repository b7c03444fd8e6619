// The listening socket: every connection it accepts goes to its owner's
// accept operation.
#pragma once
#include <functional>
#include <memory>

#include "platform/net.h"

namespace tellu {

class CServSocLsn {
 public:
  CServSocLsn(Net& net, Net::AcceptFn owner_accept);
  // Listens on every local address; false when the port cannot be had.
  bool Listen(int port);
  void Close() { listener_.reset(); }
  bool IsListening() const { return listener_ != nullptr; }
  int Port() const { return listener_ ? listener_->Port() : 0; }

 private:
  void OnAccept(std::unique_ptr<Stream> connection);

  Net& net_;
  Net::AcceptFn owner_accept_;
  std::unique_ptr<Listener> listener_;
};

}  // namespace tellu
