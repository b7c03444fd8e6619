#include "relay_load_net.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace tellu::bench {
namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  return a;
}

void NoDelay(int fd) {
  const int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

void SetBlocking(int fd, bool blocking) {
  const int flags = fcntl(fd, F_GETFL, 0);
  fcntl(fd, F_SETFL, blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK);
}

int MsLeft(Clock::time_point end) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
  return static_cast<int>(std::max<long long>(left.count(), 0));
}

// One direction of a Pump: what is still to send on one end and to receive,
// and check, on the other.
struct Flow {
  int from, to;
  std::string_view send, expect;
  size_t sent = 0, received = 0;
  const char* name;
};

bool Receive(Flow& f, char* buffer, size_t size, std::string* error) {
  const ssize_t n = ::recv(f.to, buffer, std::min(size, f.expect.size() - f.received), 0);
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return true;
  if (n <= 0) {
    *error = std::string(f.name) + ": connection closed after " + std::to_string(f.received) +
             " of " + std::to_string(f.expect.size()) + " bytes";
    return false;
  }
  if (std::memcmp(buffer, f.expect.data() + f.received, static_cast<size_t>(n)) != 0) {
    size_t at = 0;
    while (buffer[at] == f.expect[f.received + at]) ++at;
    *error = std::string(f.name) + ": wrong byte at offset " + std::to_string(f.received + at);
    return false;
  }
  f.received += static_cast<size_t>(n);
  return true;
}

bool SendSome(Flow& f, std::string* error) {
  constexpr size_t kChunk = 256 * 1024;
  const size_t n = std::min(kChunk, f.send.size() - f.sent);
  const ssize_t w = ::send(f.from, f.send.data() + f.sent, n, MSG_NOSIGNAL);
  if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return true;
  if (w < 0) {
    *error = std::string(f.name) + ": send failed: " + std::strerror(errno);
    return false;
  }
  f.sent += static_cast<size_t>(w);
  return true;
}

}  // namespace

int ListenLoopback(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  const sockaddr_in a = Loopback(port);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 8) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

int LocalPort(int fd) {
  sockaddr_in a{};
  socklen_t len = sizeof a;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) return 0;
  return ntohs(a.sin_port);
}

int ConnectLoopback(int port, int timeout_ms) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeout_ms);
  const sockaddr_in a = Loopback(port);
  while (true) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) {
      NoDelay(fd);
      return fd;
    }
    ::close(fd);
    if (errno != ECONNREFUSED || Clock::now() >= end) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

int AcceptWithin(int listen_fd, int timeout_ms) {
  pollfd p{listen_fd, POLLIN, 0};
  if (poll(&p, 1, timeout_ms) != 1) return -1;
  const int fd = ::accept4(listen_fd, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd >= 0) NoDelay(fd);
  return fd;
}

bool ReadExpected(int fd, std::string_view expected, int timeout_ms, std::string* error) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeout_ms);
  char buffer[512];
  size_t got = 0;
  while (got < expected.size()) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, MsLeft(end)) != 1) {
      *error = "timed out after " + std::to_string(got) + " of " +
               std::to_string(expected.size()) + " bytes";
      return false;
    }
    const ssize_t n = ::recv(fd, buffer, std::min(sizeof buffer, expected.size() - got), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      *error = "connection closed";
      return false;
    }
    if (std::memcmp(buffer, expected.data() + got, static_cast<size_t>(n)) != 0) {
      *error = "wrong bytes after " + std::to_string(got);
      return false;
    }
    got += static_cast<size_t>(n);
  }
  return true;
}

double Pump(const Link& link, std::string_view up, std::string_view up_expected,
            std::string_view down, std::string_view down_expected, int timeout_ms,
            std::string* error) {
  Flow flows[2] = {{link.host, link.server, up, up_expected, 0, 0, "host to server"},
                   {link.server, link.host, down, down_expected, 0, 0, "server to host"}};
  SetBlocking(link.host, false);
  SetBlocking(link.server, false);
  static char buffer[1 << 20];
  const auto start = Clock::now();
  const auto end = start + std::chrono::milliseconds(timeout_ms);
  bool ok = true;
  while (ok && (flows[0].received < up_expected.size() || flows[1].received < down_expected.size())) {
    // fds[0] is the host's end, fds[1] the server's.
    pollfd fds[2] = {{link.host, 0, 0}, {link.server, 0, 0}};
    for (int i = 0; i < 2; ++i) {
      const Flow& f = flows[i];
      if (f.sent < f.send.size()) fds[i].events |= POLLOUT;
      if (f.received < f.expect.size()) fds[1 - i].events |= POLLIN;
    }
    const int n = poll(fds, 2, MsLeft(end));
    if (n == 0) {
      *error = "timed out: " + std::to_string(flows[0].received) + " of " +
               std::to_string(up_expected.size()) + " bytes up, " +
               std::to_string(flows[1].received) + " of " + std::to_string(down_expected.size()) +
               " down";
      ok = false;
      break;
    }
    if (n < 0) continue;
    for (int i = 0; i < 2 && ok; ++i) {
      Flow& f = flows[i];
      if (f.received < f.expect.size() && (fds[1 - i].revents & (POLLIN | POLLERR | POLLHUP)))
        ok = Receive(f, buffer, sizeof buffer, error);
      if (ok && f.sent < f.send.size() && (fds[i].revents & (POLLOUT | POLLERR)))
        ok = SendSome(f, error);
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  SetBlocking(link.host, true);
  SetBlocking(link.server, true);
  return ok ? seconds : -1;
}

std::vector<double> RoundTrips(const Link& link, const Traffic& traffic, bool relayed,
                               size_t count, std::string* error) {
  std::vector<double> micros;
  micros.reserve(count);
  constexpr int kTimeoutMs = 5000;
  for (size_t i = 0; i < count; ++i) {
    const size_t up = i % traffic.up.count(), down = i % traffic.down.count();
    const std::string_view ask = traffic.up.Frame(up);
    const std::string_view arrives = relayed ? traffic.up.RelayedFrame(up) : ask;
    const std::string_view answer = traffic.down.Frame(down);
    const std::string_view back = relayed ? traffic.down.RelayedFrame(down) : answer;
    const auto start = Clock::now();
    if (::send(link.host, ask.data(), ask.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(ask.size()) ||
        !ReadExpected(link.server, arrives, kTimeoutMs, error) ||
        ::send(link.server, answer.data(), answer.size(), MSG_NOSIGNAL) !=
            static_cast<ssize_t>(answer.size()) ||
        !ReadExpected(link.host, back, kTimeoutMs, error)) {
      if (error->empty()) *error = "send failed";
      *error = "round trip " + std::to_string(i) + ": " + *error;
      return {};
    }
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  return micros;
}

}  // namespace tellu::bench
