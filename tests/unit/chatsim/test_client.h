// A client for tests that talk to a real chatsim server over loopback.  Every
// wait is bounded by a deadline; nothing sleeps.
#pragma once
#include <poll.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame.h"
#include "net.h"
#include "wire.h"

namespace tellu::chatsim {

class TestClient {
 public:
  static constexpr std::chrono::milliseconds kLimit{5000};

  explicit TestClient(uint16_t port) {
    std::string error;
    fd_ = net::Connect("127.0.0.1", port, &error);
  }
  ~TestClient() { Close(); }
  TestClient(const TestClient&) = delete;
  TestClient& operator=(const TestClient&) = delete;

  bool connected() const { return fd_ >= 0; }
  void Close() {
    net::Close(fd_);
    fd_ = -1;
  }

  void Send(std::string_view payload) { SendRaw(Frame(payload)); }
  void SendRaw(std::string bytes) {
    const auto deadline = std::chrono::steady_clock::now() + kLimit;
    while (net::Flush(fd_, bytes) && !bytes.empty() && Wait(POLLOUT, deadline)) {
    }
  }
  void Login(std::string_view name) { Send(BuildLogin("test", "", name)); }

  // The next payload, or nullopt when none comes in time or the server closed.
  std::optional<std::string> Next() {
    const auto deadline = std::chrono::steady_clock::now() + kLimit;
    while (ready_.empty()) {
      if (closed_ || !Wait(POLLIN, deadline)) return std::nullopt;
      std::string bytes;
      if (!net::ReadSome(fd_, bytes)) closed_ = true;
      reader_.Feed(bytes, [&](std::string_view p) { ready_.emplace_back(p); });
    }
    std::string p = ready_.front();
    ready_.erase(ready_.begin());
    return p;
  }

  // Reads until a message matches; those passed over are kept in `skipped`.
  std::optional<ServerMessage> WaitFor(const std::function<bool(const ServerMessage&)>& match) {
    skipped.clear();
    while (auto p = Next()) {
      ServerMessage m = ParseFromServer(*p);
      if (match(m)) return m;
      skipped.push_back(std::move(m));
    }
    return std::nullopt;
  }

  // True when the server closes the connection in time.
  bool WaitClosed() {
    while (Next()) {
    }
    return closed_;
  }

  std::vector<ServerMessage> skipped;

 private:
  bool Wait(short events, std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd_, events, 0};
    return poll(&p, 1, static_cast<int>(left.count())) > 0;
  }

  int fd_ = -1;
  bool closed_ = false;
  FrameReader reader_;
  std::vector<std::string> ready_;
};

inline auto IsNaming(std::string_view name) {
  return [name = std::string(name)](const ServerMessage& m) {
    return m.kind == ServerKind::kNaming && m.name == name;
  };
}

inline auto IsChat(std::string_view speaker, std::string_view text) {
  return [speaker = std::string(speaker), text = std::string(text)](const ServerMessage& m) {
    return m.kind == ServerKind::kChat && m.name == speaker && m.text == text;
  };
}

}  // namespace tellu::chatsim
