#include "relay/serv_sock.h"

#include <utility>

#include "relay/relay.h"

namespace tellu {

CServSock::CServSock(std::unique_ptr<Stream> stream, Relay* owner)
    : stream_(std::move(stream)), owner_(owner) {
  stream_->SetHandlers([this](std::string_view bytes) { OnReceive(bytes); },
                       [this] { OnClose(); });
}

void CServSock::OnReceive(std::string_view bytes) {
  if (kind_ == SockKind::kRelayConnection) {
    if (owner_) owner_->HostReceived(bytes);
  } else if (peer_) {
    peer_->OnReceive(bytes);
  }
}

void CServSock::OnClose() {
  if (kind_ == SockKind::kRelayConnection) {
    if (owner_) owner_->HostClosed();
  } else if (peer_) {
    peer_->OnClose();
  }
}

}  // namespace tellu
