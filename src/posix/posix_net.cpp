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

#include "platform/stream_core.h"

namespace tellu {
namespace {

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

StreamIo::End EndOf(const sockaddr_in& a) {
  return {ntohl(a.sin_addr.s_addr), ntohs(a.sin_port)};
}

class PosixStreamLoop : public StreamLoop {
 public:
  explicit PosixStreamLoop(PosixLoop& loop) : loop_(loop) {}
  void Defer(std::function<void()> fn) override { loop_.Defer(std::move(fn)); }
  uintptr_t StartTimer(int ms, std::function<void()> fire) override {
    return loop_.Start(ms, false, std::move(fire));
  }
  void CancelTimer(uintptr_t id) override { loop_.Cancel(static_cast<Timers::Id>(id)); }

 private:
  PosixLoop& loop_;
};

class PosixIo : public StreamIo {
 public:
  PosixIo(PosixLoop& loop, int fd) : loop_(loop), fd_(fd) {}
  ~PosixIo() override {
    if (fd_ >= 0) ::close(fd_);
  }
  int fd() const { return fd_; }

  long Receive(char* buffer, size_t size) override {
    for (;;) {
      const ssize_t n = ::recv(fd_, buffer, size, 0);
      if (n >= 0) return static_cast<long>(n);
      if (errno == EINTR) continue;
      return errno == EAGAIN || errno == EWOULDBLOCK ? kWouldBlock : kFailed;
    }
  }
  long Transmit(const char* bytes, size_t size) override {
    for (;;) {
      const ssize_t n = ::send(fd_, bytes, size, kSendFlags);
      if (n > 0) return static_cast<long>(n);
      if (n < 0 && errno == EINTR) continue;
      return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) ? kWouldBlock : kFailed;
    }
  }
  void Want(bool read, bool write) override {
    if (fd_ >= 0)
      loop_.SetEvents(fd_, (read ? PosixLoop::kRead : 0u) | (write ? PosixLoop::kWrite : 0u));
  }
  bool Ends(End& local, End& peer) override {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) != 0) return false;
    local = EndOf(a);
    len = sizeof a;
    if (getpeername(fd_, reinterpret_cast<sockaddr*>(&a), &len) != 0) return false;
    peer = EndOf(a);
    const int one = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return true;
  }
  void Release(bool graceful) override {
    if (fd_ < 0) return;
    if (graceful) {
      char sink[4096];
      while (::recv(fd_, sink, sizeof sink, 0) > 0) {
      }
      ::shutdown(fd_, SHUT_WR);
    }
    loop_.Unwatch(fd_);
    ::close(fd_);
    fd_ = -1;
  }
  bool ConnectFailed() const {
    int error = 0;
    socklen_t len = sizeof error;
    if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &len) != 0) error = errno;
    return error != 0;
  }

 private:
  PosixLoop& loop_;
  int fd_;
};

// Makes the stream over fd and starts watching it.
std::shared_ptr<StreamCore> Start(PosixLoop& loop, const std::shared_ptr<StreamGroup>& group,
                                  int fd, StreamCore::State state) {
  auto io = std::make_unique<PosixIo>(loop, fd);
  PosixIo* raw = io.get();
  auto core = std::make_shared<StreamCore>(group, std::move(io), state);
  loop.Watch(fd, 0, [core, raw](unsigned ready) {
    if (core->connecting()) {
      core->Connected(!raw->ConnectFailed());
      return;
    }
    if (ready & (PosixLoop::kRead | PosixLoop::kError)) core->Readable();
    if (ready & (PosixLoop::kWrite | PosixLoop::kError)) core->Writable();
  });
  core->Begin();
  return core;
}

class ListenSocket : public std::enable_shared_from_this<ListenSocket> {
 public:
  ListenSocket(PosixLoop& loop, std::shared_ptr<StreamGroup> group, int fd, int port,
               Net::AcceptFn accept)
      : loop_(loop), group_(std::move(group)), fd_(fd), port_(port), accept_(std::move(accept)) {}
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
      auto core = Start(loop_, group_, fd, StreamCore::State::kOpen);
      auto accept = accept_;  // the callback may stop this listener
      accept(MakeStream(std::move(core)));
    }
  }

  PosixLoop& loop_;
  std::shared_ptr<StreamGroup> group_;
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

PosixNet::PosixNet(PosixLoop& loop)
    : loop_(loop), group_(std::make_shared<StreamGroup>(std::make_unique<PosixStreamLoop>(loop))) {}

PosixNet::~PosixNet() = default;

std::unique_ptr<Listener> PosixNet::Listen(int port, AcceptFn accept) {
  if (!ListenPortOk(port)) return nullptr;
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
  auto socket =
      std::make_shared<ListenSocket>(loop_, group_, fd, ntohs(a.sin_port), std::move(accept));
  socket->Begin();
  return std::make_unique<PosixListener>(std::move(socket));
}

std::unique_ptr<Stream> PosixNet::Connect(const std::string& host, int port, ConnectFn done) {
  sockaddr_in a{};
  int fd = -1;
  if (ConnectTargetOk(host, port) && Resolve(host, port, a)) {
    fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd >= 0 && (!Prepare(fd) || (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 &&
                                     errno != EINPROGRESS))) {
      ::close(fd);
      fd = -1;
    }
  }
  if (fd < 0) {
    auto core = std::make_shared<StreamCore>(group_, std::make_unique<PosixIo>(loop_, -1),
                                             StreamCore::State::kConnecting);
    core->FailLater(std::move(done));
    return MakeStream(std::move(core));
  }
  // Even an immediate success is reported from the loop, once writable.
  auto core = Start(loop_, group_, fd, StreamCore::State::kConnecting);
  core->Connecting(std::move(done));
  return MakeStream(std::move(core));
}

}  // namespace tellu
