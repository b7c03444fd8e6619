#include "win32/win_net.h"

#include <ws2tcpip.h>

#include <cstdio>
#include <utility>

#include "platform/socket_stream.h"
#include "win32/wide_text.h"

namespace tellu {
namespace {

constexpr size_t kReadChunk = 64 * 1024;
// Reads per notification, so one busy connection cannot starve the rest;
// Winsock posts FD_READ again while bytes remain.
constexpr int kReadsPerRound = 4;
// How long a closed connection may keep trying to send what was queued.
constexpr UINT kLingerMs = 30000;
constexpr long kStreamEvents = FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE;

std::string Dotted(const in_addr& a) {
  const auto* b = reinterpret_cast<const unsigned char*>(&a);
  char text[16];
  snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
  return text;
}

bool Resolve(const std::string& host, int port, sockaddr_in& out) {
  out = sockaddr_in{};
  out.sin_family = AF_INET;
  out.sin_port = htons(static_cast<u_short>(port));
  ADDRINFOW hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  ADDRINFOW* found = nullptr;
  if (host.empty() || GetAddrInfoW(Wide(host).c_str(), nullptr, &hints, &found) != 0 || !found)
    return false;
  out.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
  FreeAddrInfoW(found);
  return true;
}

// One connection's state.  The message window's watch holds it while the
// socket is open, so it outlives the user's handle until it has finished
// closing.
class Socket : public std::enable_shared_from_this<Socket> {
 public:
  enum class State { Connecting, Open, Closing, Closed };

  Socket(MessageWindow& window, SOCKET s, State state) : window_(window), s_(s), state_(state) {}
  ~Socket() {
    if (s_ != INVALID_SOCKET) closesocket(s_);
  }

  // Starts the notifications; for an open socket, records both addresses.
  bool Begin() {
    if (state_ == State::Open) Established();
    message_ = window_.WatchSocket([self = shared_from_this()](WPARAM s, LPARAM event) {
      if (s == self->s_) self->OnEvent(WSAGETSELECTEVENT(event), WSAGETSELECTERROR(event));
    });
    return message_ && WSAAsyncSelect(s_, window_.hwnd(), message_, kStreamEvents) == 0;
  }

  bool StartConnect(const sockaddr_in& to) {
    if (connect(s_, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return true;
    return WSAGetLastError() == WSAEWOULDBLOCK;
  }

  void Connecting(Net::ConnectFn done) { done_ = std::move(done); }

  // A connect that failed before it began is reported from the loop all
  // the same, unless closed first.
  void FailLater(Net::ConnectFn done) {
    Finish();
    state_ = State::Connecting;
    done_ = std::move(done);
    window_.Defer([self = shared_from_this()] {
      if (self->state_ != State::Connecting) return;
      self->state_ = State::Closed;
      auto done = std::move(self->done_);
      if (done) done(false);
    });
  }

  void SetHandlers(Stream::DataFn data, Stream::ClosedFn closed) {
    data_ = std::move(data);
    closed_ = std::move(closed);
    // Bytes (or the end) that came before waited; Winsock does not tell
    // twice, so look now.
    if (state_ == State::Open && data_) {
      window_.Defer([self = shared_from_this()] {
        if (self->state_ == State::Open && self->data_) self->ReadSome();
      });
    }
  }

  void Send(std::string_view bytes) {
    if (state_ != State::Connecting && state_ != State::Open) return;
    out_.append(bytes);
    if (state_ == State::Open) ScheduleFlush();
  }

  void Close() {
    if (state_ == State::Connecting) {
      Finish();
    } else if (state_ == State::Open) {
      state_ = State::Closing;
      Flush();
      if (state_ != State::Closing) return;
      std::weak_ptr<Socket> weak = weak_from_this();
      linger_ = window_.StartTimer(kLingerMs, [weak] {
        if (auto self = weak.lock()) self->Finish();
      });
    }
  }

  bool IsOpen() const { return state_ == State::Open; }
  const std::string& local() const { return local_; }
  const std::string& peer() const { return peer_; }
  bool loopback() const { return loopback_; }

 private:
  void Established() {
    sockaddr_in a{};
    int len = sizeof a;
    if (getsockname(s_, reinterpret_cast<sockaddr*>(&a), &len) == 0) local_ = Dotted(a.sin_addr);
    len = sizeof a;
    if (getpeername(s_, reinterpret_cast<sockaddr*>(&a), &len) == 0) {
      peer_ = Dotted(a.sin_addr);
      loopback_ = (ntohl(a.sin_addr.s_addr) >> 24) == 127;
    }
    const BOOL one = TRUE;
    setsockopt(s_, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
  }

  bool Pending() const { return out_pos_ < out_.size(); }

  // One send for everything queued during this round of the loop.
  void ScheduleFlush() {
    if (flush_scheduled_) return;
    flush_scheduled_ = true;
    window_.Defer([self = shared_from_this()] {
      self->flush_scheduled_ = false;
      self->Flush();
    });
  }

  void OnEvent(WORD event, WORD error) {
    switch (event) {
      case FD_CONNECT:
        if (state_ == State::Connecting) ConnectDone(error);
        break;
      case FD_READ:
        if (state_ == State::Open && data_) ReadSome();
        break;
      case FD_WRITE:
        Flush();
        break;
      case FD_CLOSE:
        PeerClosed();
        break;
    }
  }

  void ConnectDone(WORD error) {
    auto done = std::move(done_);
    if (error != 0) {
      Finish();
      if (done) done(false);
      return;
    }
    state_ = State::Open;
    Established();
    if (Pending()) ScheduleFlush();
    if (done) done(true);
  }

  void ReadSome() {
    char buffer[kReadChunk];
    for (int i = 0; i < kReadsPerRound || peer_closed_; ++i) {
      const int n = recv(s_, buffer, sizeof buffer, 0);
      if (n > 0) {
        auto data = data_;  // the handler may replace itself
        data(std::string_view(buffer, static_cast<size_t>(n)));
        if (state_ != State::Open || !data_) return;
      } else if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK && !peer_closed_) {
        return;
      } else {
        // The end, a failure, or nothing more after the peer's close.
        Lost();
        return;
      }
    }
  }

  // FD_CLOSE comes once: what is still unread is read now, or as soon as
  // there are handlers, and the close is told after it.
  void PeerClosed() {
    if (state_ == State::Closing) {
      Finish();
      return;
    }
    if (state_ != State::Open) return;
    peer_closed_ = true;
    if (data_) ReadSome();
  }

  void Flush() {
    if (s_ == INVALID_SOCKET || (state_ != State::Open && state_ != State::Closing)) return;
    while (Pending()) {
      const size_t left = out_.size() - out_pos_;
      const int n = send(s_, out_.data() + out_pos_,
                         static_cast<int>(left < kReadChunk ? left : kReadChunk), 0);
      if (n > 0) {
        out_pos_ += static_cast<size_t>(n);
      } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
        break;  // FD_WRITE comes when there is room again
      } else {
        Lost();
        return;
      }
    }
    if (!Pending()) {
      out_.clear();
      out_pos_ = 0;
      if (state_ == State::Closing) Finish();
    } else if (out_pos_ >= kReadChunk && out_pos_ * 2 >= out_.size()) {
      out_.erase(0, out_pos_);
      out_pos_ = 0;
    }
  }

  // The peer closed or the connection failed: the owner hears of it only if
  // it had not closed the connection itself.
  void Lost() {
    const bool tell = state_ == State::Open;
    Finish();
    if (tell && closed_) {
      auto closed = closed_;
      closed();
    }
  }

  void Finish() {
    // The watch may hold the last reference.
    std::shared_ptr<Socket> hold = shared_from_this();
    const bool graceful = state_ == State::Closing;
    state_ = State::Closed;
    if (linger_) window_.KillTimer(linger_);
    linger_ = 0;
    out_.clear();
    out_pos_ = 0;
    if (s_ == INVALID_SOCKET) return;
    if (graceful) {
      // Unread input would make the close a reset, which can destroy what
      // was just sent before the peer reads it.
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

  MessageWindow& window_;
  SOCKET s_;
  State state_;
  UINT message_ = 0;
  std::string out_;
  size_t out_pos_ = 0;
  bool flush_scheduled_ = false;
  bool peer_closed_ = false;
  UINT_PTR linger_ = 0;
  Stream::DataFn data_;
  Stream::ClosedFn closed_;
  Net::ConnectFn done_;
  std::string local_, peer_;
  bool loopback_ = false;
};

using WinStream = SocketStream<Socket>;

class ListenSocket : public std::enable_shared_from_this<ListenSocket> {
 public:
  ListenSocket(MessageWindow& window, SOCKET s, int port, Net::AcceptFn accept)
      : window_(window), s_(s), port_(port), accept_(std::move(accept)) {}
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
      auto socket = std::make_shared<Socket>(window_, s, Socket::State::Open);
      if (!socket->Begin()) continue;  // the socket closes with its object
      auto accept = accept_;  // the callback may stop this listener
      accept(std::make_unique<WinStream>(std::move(socket)));
    }
  }

  MessageWindow& window_;
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

std::unique_ptr<Listener> WinNet::Listen(int port, AcceptFn accept) {
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
  if (port < 0 || port > 0xFFFF || bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      listen(s, 5) != 0 || getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    closesocket(s);
    return nullptr;
  }
  auto socket = std::make_shared<ListenSocket>(window_, s, ntohs(a.sin_port), std::move(accept));
  if (!socket->Begin()) {
    socket->Close();
    return nullptr;
  }
  return std::make_unique<WinListener>(std::move(socket));
}

std::unique_ptr<Stream> WinNet::Connect(const std::string& host, int port, ConnectFn done) {
  sockaddr_in to{};
  SOCKET s = INVALID_SOCKET;
  if (port > 0 && port <= 0xFFFF && Resolve(host, port, to))
    s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  auto socket = std::make_shared<Socket>(window_, s, Socket::State::Connecting);
  // Even an immediate success is reported from the loop, by FD_CONNECT.
  if (s != INVALID_SOCKET && socket->Begin() && socket->StartConnect(to))
    socket->Connecting(std::move(done));
  else
    socket->FailLater(std::move(done));
  return std::make_unique<WinStream>(std::move(socket));
}

}  // namespace tellu
