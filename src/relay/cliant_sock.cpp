#include "relay/cliant_sock.h"

#include <utility>

#include "relay/relay.h"

namespace tellu {

CCliantSock::CCliantSock(Net& net, SockKind kind, Relay* owner)
    : net_(net), owner_(owner), kind_(kind) {}

void CCliantSock::Connect(const std::string& host, int port, Net::ConnectFn done) {
  stream_ = net_.Connect(host, port, std::move(done));
  stream_->SetHandlers([this](std::string_view bytes) { OnReceive(bytes); },
                       [this] { OnClose(); });
}

void CCliantSock::OnReceive(std::string_view bytes) {
  if (kind_ == SockKind::kRelayConnection) {
    if (owner_) owner_->ServerReceived(bytes);
  } else if (transfer_) {
    transfer_->OnReceive(bytes);
  }
}

void CCliantSock::OnClose() {
  if (kind_ == SockKind::kRelayConnection) {
    if (owner_) owner_->ServerClosed();
  } else if (transfer_) {
    transfer_->OnClose();
  }
}

}  // namespace tellu
