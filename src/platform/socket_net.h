// The Net port over one system's socket calls: listening and its accept
// loop, connecting, and the group the streams share.  A platform adapter
// gives it the calls (SocketCalls) and its loop.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/net.h"
#include "platform/stream_core.h"

namespace tellu {

// One listening socket of a system.  Its destructor closes the socket
// without touching the loop.
class ListenIo {
 public:
  virtual ~ListenIo() = default;
  // Starts telling `ready` when connections wait; false when it cannot.
  virtual bool Notify(std::function<void()> ready) = 0;
  // Takes one waiting connection, ready to be a stream.  nullptr when none
  // was taken: `more` then tells whether one failed and others may wait.
  virtual std::unique_ptr<StreamIo> Accept(bool& more) = 0;
  // Ends the notifications and closes.
  virtual void Release() = 0;
  // The port listened on.
  virtual int Port() const = 0;
};

// The socket calls of one system.
class SocketCalls {
 public:
  virtual ~SocketCalls() = default;
  // A socket listening on every local address; nullptr when the port
  // cannot be had.
  virtual std::unique_ptr<ListenIo> Listen(int port) = 0;
  // The address (host order) of a dotted address or host name.
  virtual bool Resolve(const std::string& host, uint32_t& address) = 0;
  // A fresh socket for a connect; nullptr when none can be had.
  virtual std::unique_ptr<StreamIo> Socket() = 0;
};

class SocketNet : public Net {
 public:
  SocketNet(std::unique_ptr<StreamLoop> loop, std::unique_ptr<SocketCalls> calls);
  ~SocketNet() override;
  std::unique_ptr<Listener> Listen(int port, AcceptFn accept) override;
  std::unique_ptr<Stream> Connect(const std::string& host, int port, ConnectFn done) override;

 private:
  std::unique_ptr<SocketCalls> calls_;
  std::shared_ptr<StreamGroup> group_;
};

}  // namespace tellu
