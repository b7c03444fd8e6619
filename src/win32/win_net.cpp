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

StreamIo::End EndOf(const sockaddr_in& a) {
  return {ntohl(a.sin_addr.s_addr), ntohs(a.sin_port)};
}

sockaddr_in AddressOf(const StreamIo::End& end) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(end.address);
  a.sin_port = htons(static_cast<u_short>(end.port));
  return a;
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

  bool Notify(const std::shared_ptr<StreamCore>& core) override {
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
  bool Connect(const End& to) override {
    const sockaddr_in a = AddressOf(to);
    if (connect(s_, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) return true;
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

class WinListenIo : public ListenIo {
 public:
  WinListenIo(MessageWindow& window, SOCKET s, int port) : window_(window), s_(s), port_(port) {}
  ~WinListenIo() override {
    if (s_ != INVALID_SOCKET) closesocket(s_);
  }
  bool Notify(std::function<void()> ready) override {
    const SOCKET s = s_;
    message_ = window_.WatchSocket([s, ready = std::move(ready)](WPARAM from, LPARAM) {
      if (from == s) ready();
    });
    return message_ && WSAAsyncSelect(s_, window_.hwnd(), message_, FD_ACCEPT) == 0;
  }
  std::unique_ptr<StreamIo> Accept(bool& more) override {
    const SOCKET s = accept(s_, nullptr, nullptr);
    more = s != INVALID_SOCKET;
    if (!more) return nullptr;
    return std::make_unique<WinIo>(window_, s);
  }
  void Release() override {
    if (s_ == INVALID_SOCKET) return;
    WSAAsyncSelect(s_, window_.hwnd(), 0, 0);
    closesocket(s_);
    s_ = INVALID_SOCKET;
    if (message_) window_.Unwatch(message_);
    message_ = 0;
  }
  int Port() const override { return port_; }

 private:
  MessageWindow& window_;
  SOCKET s_;
  int port_;
  UINT message_ = 0;
};

class WinCalls : public SocketCalls {
 public:
  explicit WinCalls(MessageWindow& window) : window_(window) {}

  std::unique_ptr<ListenIo> Listen(int port) override {
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return nullptr;
    // A port another program listens on is not shared with it.
    const BOOL one = TRUE;
    setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&one),
               sizeof one);
    sockaddr_in a = AddressOf({INADDR_ANY, port});
    int len = sizeof a;
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(s, 5) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
      closesocket(s);
      return nullptr;
    }
    return std::make_unique<WinListenIo>(window_, s, ntohs(a.sin_port));
  }
  bool Resolve(const std::string& host, uint32_t& address) override {
    ADDRINFOW hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    ADDRINFOW* found = nullptr;
    if (GetAddrInfoW(Wide(host).c_str(), nullptr, &hints, &found) != 0 || !found) return false;
    address = EndOf(*reinterpret_cast<const sockaddr_in*>(found->ai_addr)).address;
    FreeAddrInfoW(found);
    return true;
  }
  std::unique_ptr<StreamIo> Socket() override {
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return nullptr;
    return std::make_unique<WinIo>(window_, s);
  }

 private:
  MessageWindow& window_;
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
    : SocketNet(std::make_unique<WinStreamLoop>(window), std::make_unique<WinCalls>(window)) {}

}  // namespace tellu
