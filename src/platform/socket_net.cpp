#include "platform/socket_net.h"

#include <utility>

namespace tellu {
namespace {

// Connections taken per notification, so a flood of them cannot starve the
// streams already open.
constexpr int kAcceptsPerRound = 16;

class ListenCore : public std::enable_shared_from_this<ListenCore> {
 public:
  ListenCore(std::shared_ptr<StreamGroup> group, std::unique_ptr<ListenIo> io,
             Net::AcceptFn accept)
      : group_(std::move(group)), io_(std::move(io)), accept_(std::move(accept)) {}

  bool Begin() {
    return io_->Notify([self = shared_from_this()] { self->TakeWaiting(); });
  }
  void Close() {
    if (closed_) return;
    // The notification that goes with the release may hold the last reference.
    const auto hold = shared_from_this();
    closed_ = true;
    io_->Release();
  }
  int port() const { return io_->Port(); }

 private:
  void TakeWaiting() {
    const auto hold = shared_from_this();
    for (int i = 0; i < kAcceptsPerRound && !closed_; ++i) {
      bool more = false;
      std::unique_ptr<StreamIo> io = io_->Accept(more);
      if (!io) {
        if (more) continue;  // a failed one is dropped
        return;
      }
      StreamIo* raw = io.get();
      auto core = std::make_shared<StreamCore>(group_, std::move(io), StreamCore::State::kOpen);
      if (!raw->Notify(core)) {
        core->Close();
        continue;
      }
      core->Begin();
      auto accept = accept_;  // the callback may stop this listener
      accept(MakeStream(std::move(core)));
    }
  }

  std::shared_ptr<StreamGroup> group_;
  std::unique_ptr<ListenIo> io_;
  Net::AcceptFn accept_;
  bool closed_ = false;
};

class CoreListener : public Listener {
 public:
  explicit CoreListener(std::shared_ptr<ListenCore> core) : core_(std::move(core)) {}
  ~CoreListener() override { core_->Close(); }
  int Port() const override { return core_->port(); }

 private:
  std::shared_ptr<ListenCore> core_;
};

}  // namespace

SocketNet::SocketNet(std::unique_ptr<StreamLoop> loop, std::unique_ptr<SocketCalls> calls)
    : calls_(std::move(calls)), group_(std::make_shared<StreamGroup>(std::move(loop))) {}

SocketNet::~SocketNet() = default;

std::unique_ptr<Listener> SocketNet::Listen(int port, AcceptFn accept) {
  if (!ListenPortOk(port)) return nullptr;
  std::unique_ptr<ListenIo> io = calls_->Listen(port);
  if (!io) return nullptr;
  auto core = std::make_shared<ListenCore>(group_, std::move(io), std::move(accept));
  if (!core->Begin()) {
    core->Close();
    return nullptr;
  }
  return std::make_unique<CoreListener>(std::move(core));
}

std::unique_ptr<Stream> SocketNet::Connect(const std::string& host, int port, ConnectFn done) {
  uint32_t address = 0;
  std::unique_ptr<StreamIo> io;
  if (ConnectTargetOk(host, port) && calls_->Resolve(host, address)) io = calls_->Socket();
  StreamIo* raw = io.get();
  auto core = std::make_shared<StreamCore>(group_, std::move(io), StreamCore::State::kConnecting);
  // Even an immediate success is reported from the loop, once writable.
  if (raw && raw->Notify(core) && raw->Connect({address, port})) {
    core->Begin();
    core->Connecting(std::move(done));
  } else {
    core->FailLater(std::move(done));
  }
  return MakeStream(std::move(core));
}

}  // namespace tellu
