// An outgoing connection: the relay's server connection (kRelayConnection)
// or an avatar transfer opened by this side (kOutgoingTransfer).
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "platform/net.h"
#include "relay/peer_object.h"
#include "relay/protocol.h"

namespace tellu {

class Relay;

class CCliantSock {
 public:
  // owner receives what a kind-0 connection hears; it may be null for kind 3.
  CCliantSock(Net& net, SockKind kind, Relay* owner);
  CCliantSock(const CCliantSock&) = delete;
  CCliantSock& operator=(const CCliantSock&) = delete;

  // Starts connecting to a dotted address or host name; done(connected) comes
  // later, on the loop, unless this object is closed or destroyed first.
  void Connect(const std::string& host, int port, Net::ConnectFn done);

  SockKind ConnectionKind() const { return kind_; }
  // The transfer object of kind 3; not owned.
  void SetPeer(PeerObject* transfer) { transfer_ = transfer; }

  bool IsConnected() const { return stream_ && stream_->IsOpen(); }
  // Dropped unless connected.
  void Send(std::string_view bytes) {
    if (IsConnected()) stream_->Send(bytes);
  }
  void Close() {
    if (stream_) stream_->Close();
  }
  std::string LocalAddress() const { return stream_ ? stream_->LocalAddress() : std::string(); }
  std::string PeerAddress() const { return stream_ ? stream_->PeerAddress() : std::string(); }

 private:
  // Both may end with this object destroyed: nothing may follow the call out.
  void OnReceive(std::string_view bytes);
  void OnClose();

  Net& net_;
  std::unique_ptr<Stream> stream_;
  Relay* owner_;
  PeerObject* transfer_ = nullptr;
  SockKind kind_;
};

}  // namespace tellu
