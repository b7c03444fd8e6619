#include "relay/relay.h"

#include <utility>

namespace tellu {

Relay::Relay(Net& net) : net_(net) {}

Relay::~Relay() { Shutdown(); }

void Relay::SetServer(std::string host_name, std::function<int()> read_port) {
  server_host_ = std::move(host_name);
  read_port_ = std::move(read_port);
}

bool Relay::Open(int port) {
  listener_ = std::make_unique<CServSocLsn>(
      net_, [this](std::unique_ptr<Stream> c) { Accept(std::move(c)); });
  host_rx_.Reset();
  server_rx_.Reset();
  host_count_ = server_count_ = 0;
  server_.reset();
  if (listener_->Listen(port)) return true;
  listener_.reset();
  return false;
}

void Relay::Shutdown() {
  listener_.reset();
  hosts_.clear();
  server_.reset();
  EndSession();
}

void Relay::EndSession() {
  ++session_;
  host_rx_.Reset();
  server_rx_.Reset();
  host_waiting_.clear();
}

void Relay::Accept(std::unique_ptr<Stream> connection) {
  auto sock = std::make_unique<CServSock>(std::move(connection), this);
  if (!hosts_.empty()) {
    sock->SetConnectionKind(SockKind::kPeerAccepted);
    sock->Send(std::string(kPeerGreeting) + kPeerLineEnd);
    if (peer_accept_) peer_accept_(std::move(sock));
    return;
  }
  // The host always comes from this machine; nothing else may take its place.
  if (!sock->PeerIsLoopback()) return;
  sock->SetConnectionKind(SockKind::kRelayConnection);
  hosts_.push_back(std::move(sock));
  EndSession();
  const int port = read_port_ ? read_port_() : kDefaultPort;
  server_ = std::make_unique<CCliantSock>(net_, SockKind::kRelayConnection, this);
  server_->Connect(server_host_, port, [this, port](bool ok) { ServerConnected(ok, port); });
}

void Relay::ServerConnected(bool connected, int port) {
  if (!connected) {
    // No server: stop listening until the program starts again.
    listener_.reset();
    hosts_.clear();
    server_.reset();
    EndSession();
    return;
  }
  own_address_ = server_->LocalAddress();
  server_port_ = port;
  if (host_waiting_.empty()) return;
  std::string waiting = std::move(host_waiting_);
  host_waiting_.clear();
  RelayBytes(Direction::kFromHost, waiting);
}

void Relay::HostReceived(std::string_view bytes) {
  if (HasServer())
    RelayBytes(Direction::kFromHost, bytes);
  else if (server_)
    host_waiting_.append(bytes);
}

void Relay::ServerReceived(std::string_view bytes) { RelayBytes(Direction::kFromServer, bytes); }

void Relay::RelayBytes(Direction direction, std::string_view bytes) {
  Reassembly& rx = direction == Direction::kFromHost ? host_rx_ : server_rx_;
  uint64_t& count = direction == Direction::kFromHost ? host_count_ : server_count_;
  const uint64_t session = session_;
  rx.Feed(bytes, [&](std::string_view payload) {
    ++count;
    const Verdict verdict = parser_ ? parser_->DispAddBin(direction, payload) : Verdict::kPassOn;
    if (session != session_) return false;
    if (verdict == Verdict::kPassOn) {
      if (direction == Direction::kFromHost)
        SendToServer(payload);
      else
        SendToHost(payload);
    }
    return true;
  });
}

void Relay::HostClosed() {
  // The entry stays, so later connections are peers.
  server_.reset();
  EndSession();
}

void Relay::ServerClosed() {
  hosts_.clear();
  server_.reset();
  EndSession();
  if (server_lost_) server_lost_(kServerLostNotice);
}

void Relay::SendToServer(std::string_view payload) {
  char frame[kMaxFrame];
  const size_t n = FrameMessage(payload, frame);
  if (n != 0 && HasServer()) server_->Send(std::string_view(frame, n));
}

void Relay::SendToHost(std::string_view payload) {
  char frame[kMaxFrame];
  const size_t n = FrameMessage(payload, frame);
  if (n == 0 || hosts_.empty()) return;
  CServSock& host = *hosts_.front();
  if (host.ConnectionKind() == SockKind::kRelayConnection && host.IsOpen())
    host.Send(std::string_view(frame, n));
}

}  // namespace tellu
