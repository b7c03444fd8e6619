// A connection accepted on the listening socket: the host's relay connection
// (kRelayConnection) or an avatar-exchange peer (kPeerAccepted, then
// kPeerMovedOn once the exchange has moved it on).
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "platform/net.h"
#include "relay/peer_object.h"
#include "relay/protocol.h"

namespace tellu {

class Relay;

class CServSock {
 public:
  // owner receives what a kind-0 connection hears; it may be null for peers.
  CServSock(std::unique_ptr<Stream> stream, Relay* owner);
  CServSock(const CServSock&) = delete;
  CServSock& operator=(const CServSock&) = delete;

  SockKind ConnectionKind() const { return kind_; }
  void SetConnectionKind(SockKind kind) { kind_ = kind; }
  // Serves kinds 1 and 2; not owned.  Bytes that arrive while there is none
  // are dropped.
  void SetPeer(PeerObject* peer) { peer_ = peer; }
  PeerObject* Peer() const { return peer_; }

  void Send(std::string_view bytes) { stream_->Send(bytes); }
  void Close() { stream_->Close(); }
  bool IsOpen() const { return stream_->IsOpen(); }
  std::string PeerAddress() const { return stream_->PeerAddress(); }
  bool PeerIsLoopback() const { return stream_->PeerIsLoopback(); }

 private:
  // Both may end with this object destroyed: nothing may follow the call out.
  void OnReceive(std::string_view bytes);
  void OnClose();

  std::unique_ptr<Stream> stream_;
  Relay* owner_;
  PeerObject* peer_ = nullptr;
  SockKind kind_ = SockKind::kRelayConnection;
};

}  // namespace tellu
