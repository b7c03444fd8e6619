// The Stream handed to the core over a platform's socket object.  The socket
// is shared with the event loop, which may still hold it while a callback
// runs; the Stream only forwards and closes it when dropped.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/net.h"

namespace tellu {

template <class Socket>
class SocketStream : public Stream {
 public:
  explicit SocketStream(std::shared_ptr<Socket> socket) : socket_(std::move(socket)) {}
  ~SocketStream() override { socket_->Close(); }
  void SetHandlers(DataFn data, ClosedFn closed) override {
    socket_->SetHandlers(std::move(data), std::move(closed));
  }
  void Send(std::string_view bytes) override { socket_->Send(bytes); }
  void Close() override { socket_->Close(); }
  bool IsOpen() const override { return socket_->IsOpen(); }
  std::string LocalAddress() const override { return socket_->local(); }
  std::string PeerAddress() const override { return socket_->peer(); }
  bool PeerIsLoopback() const override { return socket_->loopback(); }

 private:
  std::shared_ptr<Socket> socket_;
};

}  // namespace tellu
