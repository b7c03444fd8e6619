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

StreamIo::End EndOf(const sockaddr_in& a) {
  return {ntohl(a.sin_addr.s_addr), ntohs(a.sin_port)};
}

sockaddr_in AddressOf(const StreamIo::End& end) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(end.address);
  a.sin_port = htons(static_cast<uint16_t>(end.port));
  return a;
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

  bool Notify(const std::shared_ptr<StreamCore>& core) override {
    loop_.Watch(fd_, 0, [core, this](unsigned ready) {
      if (core->connecting()) {
        core->Connected(!ConnectFailed());
        return;
      }
      if (ready & (PosixLoop::kRead | PosixLoop::kError)) core->Readable();
      if (ready & (PosixLoop::kWrite | PosixLoop::kError)) core->Writable();
    });
    return true;
  }
  bool Connect(const End& to) override {
    const sockaddr_in a = AddressOf(to);
    return ::connect(fd_, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0 ||
           errno == EINPROGRESS;
  }
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

 private:
  bool ConnectFailed() const {
    int error = 0;
    socklen_t len = sizeof error;
    if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &len) != 0) error = errno;
    return error != 0;
  }

  PosixLoop& loop_;
  int fd_;
};

class PosixListenIo : public ListenIo {
 public:
  PosixListenIo(PosixLoop& loop, int fd, int port) : loop_(loop), fd_(fd), port_(port) {}
  ~PosixListenIo() override {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Notify(std::function<void()> ready) override {
    loop_.Watch(fd_, PosixLoop::kRead, [ready = std::move(ready)](unsigned) { ready(); });
    return true;
  }
  std::unique_ptr<StreamIo> Accept(bool& more) override {
    const int fd = ::accept(fd_, nullptr, nullptr);
    more = fd >= 0 || errno == EINTR;
    if (fd < 0) return nullptr;
    if (!Prepare(fd)) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixIo>(loop_, fd);
  }
  void Release() override {
    if (fd_ < 0) return;
    loop_.Unwatch(fd_);
    ::close(fd_);
    fd_ = -1;
  }
  int Port() const override { return port_; }

 private:
  PosixLoop& loop_;
  int fd_;
  int port_;
};

class PosixCalls : public SocketCalls {
 public:
  explicit PosixCalls(PosixLoop& loop) : loop_(loop) {}

  std::unique_ptr<ListenIo> Listen(int port) override {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return nullptr;
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a = AddressOf({INADDR_ANY, port});
    socklen_t len = sizeof a;
    if (!Prepare(fd) || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(fd, 5) != 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixListenIo>(loop_, fd, ntohs(a.sin_port));
  }
  bool Resolve(const std::string& host, uint32_t& address) override {
    in_addr dotted{};
    if (inet_pton(AF_INET, host.c_str(), &dotted) == 1) {
      address = ntohl(dotted.s_addr);
      return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
    address = EndOf(*reinterpret_cast<const sockaddr_in*>(found->ai_addr)).address;
    freeaddrinfo(found);
    return true;
  }
  std::unique_ptr<StreamIo> Socket() override {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return nullptr;
    auto io = std::make_unique<PosixIo>(loop_, fd);
    return Prepare(fd) ? std::move(io) : nullptr;
  }

 private:
  PosixLoop& loop_;
};

}  // namespace

PosixNet::PosixNet(PosixLoop& loop)
    : SocketNet(std::make_unique<PosixStreamLoop>(loop), std::make_unique<PosixCalls>(loop)) {}

}  // namespace tellu
