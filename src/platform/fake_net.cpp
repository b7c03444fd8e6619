#include "platform/fake_net.h"

#include <utility>

namespace tellu {

class FakeStream : public Stream {
 public:
  explicit FakeStream(FakeNet::Peer* peer) : peer_(peer) {}
  ~FakeStream() override {
    Close();
    peer_->held_ = false;
  }

  void SetHandlers(DataFn data, ClosedFn closed) override {
    peer_->data_ = std::move(data);
    peer_->closed_ = std::move(closed);
  }
  void Send(std::string_view bytes) override {
    if (peer_->state_ != FakeNet::Peer::State::Closed) peer_->sent_.append(bytes);
  }
  void Close() override {
    if (peer_->state_ == FakeNet::Peer::State::Closed) return;
    peer_->state_ = FakeNet::Peer::State::Closed;
    peer_->closed_by_program_ = true;
  }
  bool IsOpen() const override { return peer_->state_ == FakeNet::Peer::State::Open; }
  std::string LocalAddress() const override { return peer_->local_; }
  std::string PeerAddress() const override { return peer_->peer_; }
  bool PeerIsLoopback() const override { return peer_->peer_.rfind("127.", 0) == 0; }

 private:
  FakeNet::Peer* peer_;
};

class FakeListener : public Listener {
 public:
  FakeListener(FakeNet& net, int port) : net_(net), port_(port) {}
  ~FakeListener() override { net_.listeners_.erase(port_); }
  int Port() const override { return port_; }

 private:
  FakeNet& net_;
  int port_;
};

void FakeNet::Peer::Feed(std::string_view bytes) {
  if (state_ != State::Open) return;
  waiting_.append(bytes);
  if (!data_ || waiting_.empty()) return;
  // The handler may destroy the program's side: keep what it needs here.
  std::string chunk = std::move(waiting_);
  waiting_.clear();
  auto data = data_;
  data(chunk);
}

void FakeNet::Peer::Close() {
  if (state_ != State::Open) return;
  state_ = State::Closed;
  if (closed_) {
    auto closed = closed_;
    closed();
  }
}

void FakeNet::Peer::Complete(const std::string& local_address) {
  if (state_ != State::Connecting) return;
  state_ = State::Open;
  local_ = local_address;
  peer_ = host_;
  auto done = done_;
  done(true);
}

void FakeNet::Peer::Fail() {
  if (state_ != State::Connecting) return;
  state_ = State::Closed;
  sent_.clear();
  auto done = done_;
  done(false);
}

std::string FakeNet::Peer::TakeSent() {
  std::string out = std::move(sent_);
  sent_.clear();
  return out;
}

std::unique_ptr<Listener> FakeNet::Listen(int port, AcceptFn accept) {
  if (port == 0) port = next_port_++;
  if (listeners_.count(port)) return nullptr;
  listeners_[port] = std::move(accept);
  return std::make_unique<FakeListener>(*this, port);
}

std::unique_ptr<Stream> FakeNet::Connect(const std::string& host, int port, ConnectFn done) {
  peers_.push_back(std::make_unique<Peer>());
  Peer* peer = peers_.back().get();
  peer->state_ = Peer::State::Connecting;
  peer->host_ = host;
  peer->port_ = port;
  peer->done_ = std::move(done);
  connects_.push_back(peer);
  return std::make_unique<FakeStream>(peer);
}

FakeNet::Peer* FakeNet::Accept(int port, const std::string& peer_address) {
  auto it = listeners_.find(port);
  if (it == listeners_.end()) return nullptr;
  peers_.push_back(std::make_unique<Peer>());
  Peer* peer = peers_.back().get();
  peer->local_ = "127.0.0.1";
  peer->peer_ = peer_address;
  peer->port_ = port;
  auto accept = it->second;  // the callback may stop the listener
  accept(std::make_unique<FakeStream>(peer));
  return peer;
}

}  // namespace tellu
