#include "cli_process_test.h"

#include <ws2tcpip.h>

#include "chatsim/frame.h"

namespace tellu::wintest {
namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<u_short>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

bool Readable(SOCKET s, DWORD ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval wait{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &wait) == 1;
}

}  // namespace

FramedSocket::~FramedSocket() {
  if (socket_ != INVALID_SOCKET) closesocket(socket_);
}

FramedSocket::FramedSocket(FramedSocket&& other) noexcept
    : socket_(other.socket_), buffer_(std::move(other.buffer_)) {
  other.socket_ = INVALID_SOCKET;
}

FramedSocket& FramedSocket::operator=(FramedSocket&& other) noexcept {
  std::swap(socket_, other.socket_);
  std::swap(buffer_, other.buffer_);
  return *this;
}

bool FramedSocket::Send(std::string_view payload) {
  const std::string frame = chatsim::Frame(payload);
  return !frame.empty() &&
         send(socket_, frame.data(), static_cast<int>(frame.size()), 0) ==
             static_cast<int>(frame.size());
}

bool FramedSocket::Next(std::string& payload, DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    // The length byte counts itself.
    const size_t need = buffer_.empty() ? 0 : static_cast<unsigned char>(buffer_[0]);
    if (need >= 2 && buffer_.size() >= need) {
      payload = buffer_.substr(1, need - 1);
      buffer_.erase(0, need);
      return true;
    }
    const DWORD spent = GetTickCount() - start;
    if (spent >= ms || !Readable(socket_, ms - spent)) return false;
    char bytes[4096];
    const int n = recv(socket_, bytes, sizeof bytes, 0);
    if (n <= 0) return false;
    buffer_.append(bytes, static_cast<size_t>(n));
  }
}

bool FramedSocket::NextWhere(const std::function<bool(const std::string&)>& want,
                             std::string& payload) {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD spent = GetTickCount() - start;
    if (spent >= kCliWaitMs || !Next(payload, kCliWaitMs - spent)) return false;
    if (want(payload)) return true;
  }
}

TestListener::TestListener() {
  socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = Loopback(0);
  if (bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(socket_, 4) != 0)
    return;
  int size = sizeof address;
  getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size);
  port_ = ntohs(address.sin_port);
}

TestListener::~TestListener() { closesocket(socket_); }

FramedSocket TestListener::Accept(DWORD ms) {
  if (!Readable(socket_, ms)) return FramedSocket();
  return FramedSocket(accept(socket_, nullptr, nullptr));
}

FramedSocket ConnectTo(int port, DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(port);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
      return FramedSocket(s);
    closesocket(s);
    if (GetTickCount() - start >= ms) return FramedSocket();
    Sleep(50);
  }
}

}  // namespace tellu::wintest
