#include "posix/posix_net.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/socket_stream.h"

namespace tellu {
namespace {

constexpr size_t kReadChunk = 64 * 1024;
// Reads per readiness report, so one busy connection cannot starve the rest.
constexpr int kReadsPerRound = 4;
// How long a closed connection may keep trying to send what was queued.
constexpr int kLingerMs = 30000;
// Unsent bytes at which a connection holds the others' reading back, and at
// which it lets them go again.
constexpr size_t kHighWater = 256 * 1024;
constexpr size_t kLowWater = 64 * 1024;
#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL;
#else
constexpr int kSendFlags = 0;
#endif

bool Prepare(int fd) {
  const int flags = fcntl(fd, F_GETFL, 0);
  if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return false;
  fcntl(fd, F_SETFD, FD_CLOEXEC);
#ifdef SO_NOSIGPIPE
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_NOSIGPIPE, &one, sizeof one);
#endif
  return true;
}

std::string Dotted(const in_addr& a) {
  char text[INET_ADDRSTRLEN] = "";
  inet_ntop(AF_INET, &a, text, sizeof text);
  return text;
}

bool Resolve(const std::string& host, int port, sockaddr_in& out) {
  out = sockaddr_in{};
  out.sin_family = AF_INET;
  out.sin_port = htons(static_cast<uint16_t>(port));
  if (inet_pton(AF_INET, host.c_str(), &out.sin_addr) == 1) return true;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
  out.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
  freeaddrinfo(found);
  return true;
}

class Socket;

}  // namespace

// The sockets of one PosixNet.  While one of them has more queued than its
// peer takes, the others stop reading: what they would read is mostly bound
// for it (the relay), and a peer that does not read must not make this
// program queue without limit.  The kernel's buffers then fill and the
// senders wait, as they would for a blocking write.
class SocketPressure {
 public:
  void Add(const std::shared_ptr<Socket>& socket) {
    std::erase_if(sockets_, [](const std::weak_ptr<Socket>& w) { return w.expired(); });
    sockets_.push_back(socket);
  }
  // Whether `reader` must leave its input unread for now.
  bool Holds(const Socket* reader) const;
  // Called as a socket's queue crosses the marks; the others' reading
  // changes with it.
  void Set(const Socket* socket, bool congested);
  // Without telling the others: for a socket going away with the loop.
  void Forget(const Socket* socket) { std::erase(congested_, socket); }

 private:
  std::vector<std::weak_ptr<Socket>> sockets_;
  std::vector<const Socket*> congested_;
};

namespace {

// One socket's state.  The loop's watch holds it while the descriptor is
// open, so it outlives the user's handle until it has finished closing.
class Socket : public std::enable_shared_from_this<Socket> {
 public:
  enum class State { Connecting, Open, Closing, Closed };

  Socket(PosixLoop& loop, std::shared_ptr<SocketPressure> pressure, int fd, State state)
      : loop_(loop), pressure_(std::move(pressure)), fd_(fd), state_(state) {}
  // Never touches the loop: it may be going away.
  ~Socket() {
    pressure_->Forget(this);
    if (fd_ >= 0) ::close(fd_);
  }

  // Starts watching; for an open socket, records both addresses first.
  void Begin() {
    pressure_->Add(shared_from_this());
    if (state_ == State::Open) Established();
    events_ = Wanted();
    loop_.Watch(fd_, events_, [self = shared_from_this()](unsigned ready) { self->OnReady(ready); });
  }

  void Connecting(Net::ConnectFn done) { done_ = std::move(done); }

  void FailLater(Net::ConnectFn done) {
    done_ = std::move(done);
    loop_.Defer([self = shared_from_this()] {
      if (self->state_ != State::Connecting) return;
      self->state_ = State::Closed;
      auto done = std::move(self->done_);
      done(false);
    });
  }

  void SetHandlers(Stream::DataFn data, Stream::ClosedFn closed) {
    data_ = std::move(data);
    closed_ = std::move(closed);
    if (state_ == State::Open) UpdateEvents();
  }

  void Send(std::string_view bytes) {
    if (state_ != State::Connecting && state_ != State::Open) return;
    out_.append(bytes);
    if (state_ == State::Open) {
      ScheduleFlush();
      if (!congested_ && out_.size() - out_pos_ > kHighWater) Congested(true);
    }
  }

  void Close() {
    if (state_ == State::Connecting) {
      Finish();
    } else if (state_ == State::Open) {
      state_ = State::Closing;
      // A closing connection holds nobody back while it lingers.
      if (congested_) Congested(false);
      Flush();
      if (state_ != State::Closing) return;
      UpdateEvents();
      std::weak_ptr<Socket> weak = shared_from_this();
      linger_ = loop_.Start(kLingerMs, false, [weak] {
        if (auto self = weak.lock()) self->Finish();
      });
    }
  }

  // The others' pressure changed: read or not accordingly.
  void Reconsider() { UpdateEvents(); }
  // Whether `other` is this connection's far end, in this same program: its
  // reading is what drains this one.
  bool FarEndIs(const Socket& other) const {
    return peer_end_ != 0 && peer_end_ == other.local_end_ && local_end_ == other.peer_end_;
  }

  bool IsOpen() const { return state_ == State::Open; }
  const std::string& local() const { return local_; }
  const std::string& peer() const { return peer_; }
  bool loopback() const { return loopback_; }

 private:
  void Established() {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) == 0) {
      local_ = Dotted(a.sin_addr);
      local_end_ = End(a);
    }
    len = sizeof a;
    if (getpeername(fd_, reinterpret_cast<sockaddr*>(&a), &len) == 0) {
      peer_ = Dotted(a.sin_addr);
      peer_end_ = End(a);
      loopback_ = (ntohl(a.sin_addr.s_addr) >> 24) == 127;
    }
    const int one = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  }

  static uint64_t End(const sockaddr_in& a) {
    return static_cast<uint64_t>(ntohl(a.sin_addr.s_addr)) << 16 | ntohs(a.sin_port);
  }

  bool Pending() const { return out_pos_ < out_.size(); }

  // One write for everything sent during this round of the loop.
  void ScheduleFlush() {
    if (flush_scheduled_) return;
    flush_scheduled_ = true;
    loop_.Defer([self = shared_from_this()] {
      self->flush_scheduled_ = false;
      self->Flush();
    });
  }

  unsigned Wanted() const {
    switch (state_) {
      case State::Connecting:
        return PosixLoop::kWrite;
      case State::Open:
        return (data_ && !pressure_->Holds(this) ? PosixLoop::kRead : 0u) |
               (Pending() ? PosixLoop::kWrite : 0u);
      case State::Closing:
        return PosixLoop::kWrite;
      case State::Closed:
        break;
    }
    return 0;
  }

  void UpdateEvents() {
    const unsigned wanted = Wanted();
    if (fd_ < 0 || wanted == events_) return;
    events_ = wanted;
    loop_.SetEvents(fd_, wanted);
  }

  void OnReady(unsigned ready) {
    if (state_ == State::Connecting) {
      ConnectDone();
      return;
    }
    if (state_ == State::Open && (ready & (PosixLoop::kRead | PosixLoop::kError)) && data_) {
      ReadSome();
      if (state_ != State::Open) return;
    }
    if ((ready & (PosixLoop::kWrite | PosixLoop::kError)) && Pending()) Flush();
  }

  void ConnectDone() {
    int error = 0;
    socklen_t len = sizeof error;
    if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &len) != 0) error = errno;
    auto done = std::move(done_);
    if (error != 0) {
      Finish();
      done(false);
      return;
    }
    state_ = State::Open;
    Established();
    UpdateEvents();
    if (Pending()) ScheduleFlush();
    done(true);
  }

  void ReadSome() {
    char buffer[kReadChunk];
    for (int i = 0; i < kReadsPerRound; ++i) {
      if (pressure_->Holds(this)) return;
      const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
      if (n > 0) {
        auto data = data_;  // the handler may replace itself
        data(std::string_view(buffer, static_cast<size_t>(n)));
        if (state_ != State::Open || !data_) return;
        if (static_cast<size_t>(n) < sizeof buffer) return;  // drained
      } else if (n < 0 && errno == EINTR) {
        --i;
      } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        return;
      } else {
        Lost();
        return;
      }
    }
  }

  void Flush() {
    if (fd_ < 0 || (state_ != State::Open && state_ != State::Closing)) return;
    while (Pending()) {
      const ssize_t n = ::send(fd_, out_.data() + out_pos_, out_.size() - out_pos_, kSendFlags);
      if (n > 0) {
        out_pos_ += static_cast<size_t>(n);
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        break;
      } else {
        Lost();
        return;
      }
    }
    if (congested_ && out_.size() - out_pos_ < kLowWater) Congested(false);
    if (!Pending()) {
      out_.clear();
      out_pos_ = 0;
      if (state_ == State::Closing) {
        Finish();
        return;
      }
    } else if (out_pos_ >= kReadChunk && out_pos_ * 2 >= out_.size()) {
      out_.erase(0, out_pos_);
      out_pos_ = 0;
    }
    UpdateEvents();
  }

  void Congested(bool congested) {
    congested_ = congested;
    pressure_->Set(this, congested);
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
    const bool graceful = state_ == State::Closing;
    state_ = State::Closed;
    if (congested_) Congested(false);
    if (linger_) loop_.Cancel(linger_);
    linger_ = 0;
    out_.clear();
    out_pos_ = 0;
    if (fd_ < 0) return;
    if (graceful) {
      // Unread input would make the close a reset, which can destroy what
      // was just sent before the peer reads it.
      char sink[4096];
      while (::recv(fd_, sink, sizeof sink, 0) > 0) {
      }
      ::shutdown(fd_, SHUT_WR);
    }
    loop_.Unwatch(fd_);
    ::close(fd_);
    fd_ = -1;
  }

  PosixLoop& loop_;
  std::shared_ptr<SocketPressure> pressure_;
  int fd_;
  State state_;
  bool congested_ = false;
  unsigned events_ = 0;
  std::string out_;
  size_t out_pos_ = 0;
  bool flush_scheduled_ = false;
  Timers::Id linger_ = 0;
  Stream::DataFn data_;
  Stream::ClosedFn closed_;
  Net::ConnectFn done_;
  std::string local_, peer_;
  uint64_t local_end_ = 0, peer_end_ = 0;  // address and port, 0 until known
  bool loopback_ = false;
};

}  // namespace

bool SocketPressure::Holds(const Socket* reader) const {
  for (const Socket* s : congested_)
    if (s != reader && !s->FarEndIs(*reader)) return true;
  return false;
}

void SocketPressure::Set(const Socket* socket, bool congested) {
  Forget(socket);
  if (congested) congested_.push_back(socket);
  // A copy: telling one socket may end another.
  const auto sockets = sockets_;
  for (const auto& weak : sockets)
    if (auto s = weak.lock(); s && s.get() != socket) s->Reconsider();
}

namespace {

using PosixStream = SocketStream<Socket>;

class ListenSocket : public std::enable_shared_from_this<ListenSocket> {
 public:
  ListenSocket(PosixLoop& loop, std::shared_ptr<SocketPressure> pressure, int fd, int port,
               Net::AcceptFn accept)
      : loop_(loop), pressure_(std::move(pressure)), fd_(fd), port_(port),
        accept_(std::move(accept)) {}
  ~ListenSocket() {
    if (fd_ >= 0) ::close(fd_);
  }
  void Begin() {
    loop_.Watch(fd_, PosixLoop::kRead, [self = shared_from_this()](unsigned) { self->OnReady(); });
  }
  void Close() {
    if (fd_ < 0) return;
    loop_.Unwatch(fd_);
    ::close(fd_);
    fd_ = -1;
  }
  int port() const { return port_; }

 private:
  void OnReady() {
    // A few per round; a failed accept is dropped.
    for (int i = 0; i < 16 && fd_ >= 0; ++i) {
      const int fd = ::accept(fd_, nullptr, nullptr);
      if (fd < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (!Prepare(fd)) {
        ::close(fd);
        continue;
      }
      auto socket = std::make_shared<Socket>(loop_, pressure_, fd, Socket::State::Open);
      socket->Begin();
      auto accept = accept_;  // the callback may stop this listener
      accept(std::make_unique<PosixStream>(std::move(socket)));
    }
  }

  PosixLoop& loop_;
  std::shared_ptr<SocketPressure> pressure_;
  int fd_;
  int port_;
  Net::AcceptFn accept_;
};

class PosixListener : public Listener {
 public:
  explicit PosixListener(std::shared_ptr<ListenSocket> socket) : socket_(std::move(socket)) {}
  ~PosixListener() override { socket_->Close(); }
  int Port() const override { return socket_->port(); }

 private:
  std::shared_ptr<ListenSocket> socket_;
};

}  // namespace

PosixNet::PosixNet(PosixLoop& loop) : loop_(loop), pressure_(std::make_shared<SocketPressure>()) {}

std::unique_ptr<Listener> PosixNet::Listen(int port, AcceptFn accept) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return nullptr;
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_ANY);
  a.sin_port = htons(static_cast<uint16_t>(port));
  socklen_t len = sizeof a;
  if (!Prepare(fd) || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      ::listen(fd, 5) != 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    ::close(fd);
    return nullptr;
  }
  auto socket = std::make_shared<ListenSocket>(loop_, pressure_, fd, ntohs(a.sin_port),
                                               std::move(accept));
  socket->Begin();
  return std::make_unique<PosixListener>(std::move(socket));
}

std::unique_ptr<Stream> PosixNet::Connect(const std::string& host, int port, ConnectFn done) {
  sockaddr_in a{};
  int fd = -1;
  if (Resolve(host, port, a)) {
    fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd >= 0 && (!Prepare(fd) || (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 &&
                                     errno != EINPROGRESS))) {
      ::close(fd);
      fd = -1;
    }
  }
  auto socket = std::make_shared<Socket>(loop_, pressure_, fd, Socket::State::Connecting);
  if (fd < 0) {
    socket->FailLater(std::move(done));
  } else {
    // Even an immediate success is reported from the loop, once writable.
    socket->Connecting(std::move(done));
    socket->Begin();
  }
  return std::make_unique<PosixStream>(std::move(socket));
}

}  // namespace tellu
