#include "win32/win_net.h"

#include <ws2tcpip.h>

#include <utility>

#include "platform/stream_core.h"
#include "win32/wide_text.h"

namespace tellu {
namespace {

// The most given to one send.
constexpr size_t kSendChunk = 256 * 1024;
constexpr long kStreamEvents = FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE;

bool Resolve(const std::string& host, int port, sockaddr_in& out) {
  out = sockaddr_in{};
  out.sin_family = AF_INET;
  out.sin_port = htons(static_cast<u_short>(port));
  ADDRINFOW hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  ADDRINFOW* found = nullptr;
  if (GetAddrInfoW(Wide(host).c_str(), nullptr, &hints, &found) != 0 || !found) return false;
  out.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
  FreeAddrInfoW(found);
  return true;
}

StreamIo::End EndOf(const sockaddr_in& a) {
  return {ntohl(a.sin_addr.s_addr), ntohs(a.sin_port)};
}

class WinStreamLoop : public StreamLoop {
 public:
  explicit WinStreamLoop(MessageWindow& window) : window_(window) {}
  void Defer(std::function<void()> fn) override { window_.Defer(std::move(fn)); }
  // The window's timers repeat: this one ends itself when it fires.
  uintptr_t StartTimer(int ms, std::function<void()> fire) override {
    auto id = std::make_shared<UINT_PTR>(0);
    *id = window_.StartTimer(static_cast<UINT>(ms), [this, id, fire = std::move(fire)] {
      window_.KillTimer(*id);
      fire();
    });
    return *id;
  }
  void CancelTimer(uintptr_t id) override { window_.KillTimer(id); }

 private:
  MessageWindow& window_;
};

class WinIo : public StreamIo {
 public:
  WinIo(MessageWindow& window, SOCKET s) : window_(window), s_(s) {}
  ~WinIo() override {
    if (s_ != INVALID_SOCKET) closesocket(s_);
  }
  SOCKET socket() const { return s_; }

  // Starts the notifications, which go to `core`.
  bool Begin(const std::shared_ptr<StreamCore>& core) {
    const SOCKET s = s_;
    message_ = window_.WatchSocket([core, s](WPARAM from, LPARAM event) {
      if (from != s) return;
      switch (WSAGETSELECTEVENT(event)) {
        case FD_CONNECT:
          core->Connected(WSAGETSELECTERROR(event) == 0);
          break;
        case FD_READ:
          core->Readable();
          break;
        case FD_WRITE:
          core->Writable();
          break;
        case FD_CLOSE:
          core->PeerClosed();
          break;
      }
    });
    return message_ && WSAAsyncSelect(s_, window_.hwnd(), message_, kStreamEvents) == 0;
  }
  bool StartConnect(const sockaddr_in& to) {
    if (connect(s_, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return true;
    return WSAGetLastError() == WSAEWOULDBLOCK;
  }

  long Receive(char* buffer, size_t size) override {
    const int n = recv(s_, buffer, static_cast<int>(size), 0);
    if (n >= 0) return n;
    return WSAGetLastError() == WSAEWOULDBLOCK ? kWouldBlock : kFailed;
  }
  long Transmit(const char* bytes, size_t size) override {
    const int n = send(s_, bytes, static_cast<int>(size < kSendChunk ? size : kSendChunk), 0);
    if (n > 0) return n;
    return WSAGetLastError() == WSAEWOULDBLOCK ? kWouldBlock : kFailed;
  }
  // Every notification stays selected: the core ignores what it does not want.
  void Want(bool, bool) override {}
  bool Ends(End& local, End& peer) override {
    sockaddr_in a{};
    int len = sizeof a;
    if (getsockname(s_, reinterpret_cast<sockaddr*>(&a), &len) != 0) return false;
    local = EndOf(a);
    len = sizeof a;
    if (getpeername(s_, reinterpret_cast<sockaddr*>(&a), &len) != 0) return false;
    peer = EndOf(a);
    const BOOL one = TRUE;
    setsockopt(s_, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    return true;
  }
  void Release(bool graceful) override {
    if (s_ == INVALID_SOCKET) return;
    if (graceful) {
      char sink[4096];
      while (recv(s_, sink, sizeof sink, 0) > 0) {
      }
      shutdown(s_, SD_SEND);
    }
    if (message_) {
      WSAAsyncSelect(s_, window_.hwnd(), 0, 0);
      window_.Unwatch(message_);
      message_ = 0;
    }
    closesocket(s_);
    s_ = INVALID_SOCKET;
  }

 private:
  MessageWindow& window_;
  SOCKET s_;
  UINT message_ = 0;
};

class ListenSocket : public std::enable_shared_from_this<ListenSocket> {
 public:
  ListenSocket(MessageWindow& window, std::shared_ptr<StreamGroup> group, SOCKET s, int port,
               Net::AcceptFn accept)
      : window_(window), group_(std::move(group)), s_(s), port_(port), accept_(std::move(accept)) {}
  ~ListenSocket() {
    if (s_ != INVALID_SOCKET) closesocket(s_);
  }
  bool Begin() {
    message_ = window_.WatchSocket([self = shared_from_this()](WPARAM s, LPARAM) {
      if (s == self->s_) self->OnAccept();
    });
    return message_ && WSAAsyncSelect(s_, window_.hwnd(), message_, FD_ACCEPT) == 0;
  }
  void Close() {
    if (s_ == INVALID_SOCKET) return;
    std::shared_ptr<ListenSocket> hold = shared_from_this();
    WSAAsyncSelect(s_, window_.hwnd(), 0, 0);
    closesocket(s_);
    s_ = INVALID_SOCKET;
    if (message_) window_.Unwatch(message_);
    message_ = 0;
  }
  int port() const { return port_; }

 private:
  void OnAccept() {
    // A few per notification; a failed accept is dropped.
    for (int i = 0; i < 16 && s_ != INVALID_SOCKET; ++i) {
      const SOCKET s = accept(s_, nullptr, nullptr);
      if (s == INVALID_SOCKET) return;
      auto io = std::make_unique<WinIo>(window_, s);
      WinIo* raw = io.get();
      auto core = std::make_shared<StreamCore>(group_, std::move(io), StreamCore::State::kOpen);
      if (!raw->Begin(core)) {
        core->Close();
        continue;
      }
      core->Begin();
      auto accept = accept_;  // the callback may stop this listener
      accept(MakeStream(std::move(core)));
    }
  }

  MessageWindow& window_;
  std::shared_ptr<StreamGroup> group_;
  SOCKET s_;
  int port_;
  UINT message_ = 0;
  Net::AcceptFn accept_;
};

class WinListener : public Listener {
 public:
  explicit WinListener(std::shared_ptr<ListenSocket> socket) : socket_(std::move(socket)) {}
  ~WinListener() override { socket_->Close(); }
  int Port() const override { return socket_->port(); }

 private:
  std::shared_ptr<ListenSocket> socket_;
};

}  // namespace

WinsockSession::WinsockSession() {
  WSADATA data;
  ok_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

WinsockSession::~WinsockSession() {
  if (ok_) WSACleanup();
}

WinNet::WinNet(MessageWindow& window)
    : window_(window), group_(std::make_shared<StreamGroup>(std::make_unique<WinStreamLoop>(window))) {}

WinNet::~WinNet() = default;

std::unique_ptr<Listener> WinNet::Listen(int port, AcceptFn accept) {
  if (!ListenPortOk(port)) return nullptr;
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return nullptr;
  // A port another program listens on is not shared with it.
  const BOOL one = TRUE;
  setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&one), sizeof one);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_ANY);
  a.sin_port = htons(static_cast<u_short>(port));
  int len = sizeof a;
  if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      listen(s, 5) != 0 || getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    closesocket(s);
    return nullptr;
  }
  auto socket = std::make_shared<ListenSocket>(window_, group_, s, ntohs(a.sin_port), std::move(accept));
  if (!socket->Begin()) {
    socket->Close();
    return nullptr;
  }
  return std::make_unique<WinListener>(std::move(socket));
}

std::unique_ptr<Stream> WinNet::Connect(const std::string& host, int port, ConnectFn done) {
  sockaddr_in to{};
  SOCKET s = INVALID_SOCKET;
  if (ConnectTargetOk(host, port) && Resolve(host, port, to))
    s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  auto io = std::make_unique<WinIo>(window_, s);
  WinIo* raw = io.get();
  auto core = std::make_shared<StreamCore>(group_, std::move(io), StreamCore::State::kConnecting);
  // Even an immediate success is reported from the loop, by FD_CONNECT.
  if (s != INVALID_SOCKET && raw->Begin(core) && raw->StartConnect(to)) {
    core->Begin();
    core->Connecting(std::move(done));
  } else {
    core->FailLater(std::move(done));
  }
  return MakeStream(std::move(core));
}

}  // namespace tellu
