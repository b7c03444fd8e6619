// chatsim's chat server: ServerCore behind a poll loop on real sockets, with
// optional bots.  Runs in the caller's thread (Run) or a thread of its own
// (Start/Stop), so tests and benchmarks can embed it.
#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "bots.h"
#include "core.h"
#include "frame.h"
#include "relay/protocol.h"

namespace tellu::chatsim {

struct ServerOptions {
  uint16_t port = kDefaultPort;  // 0: any free port, see ChatServer::port()
  int bots = 0;
  uint32_t seed = 1;
  int bot_interval_ms = 2000;
  bool verbose = false;  // log what happens to stderr
};

class ChatServer {
 public:
  explicit ChatServer(const ServerOptions& options);
  ~ChatServer();
  ChatServer(const ChatServer&) = delete;
  ChatServer& operator=(const ChatServer&) = delete;

  // Binds the port and brings the bots in.  False with the reason in *error.
  bool Open(std::string* error);
  uint16_t port() const { return port_; }

  // Serves until Stop().
  void Run();
  void Start();
  // Safe from any thread; joins the thread Start made.
  void Stop();

 private:
  struct Client {
    int id = 0;
    FrameReader reader;
  };

  void Step();
  void Accept();
  void ReadFrom(int fd, Client& client);
  void BotTurn();
  void FlushAll();
  void Drop(int fd);

  ServerOptions options_;
  ServerCore core_;
  Bots bots_;
  std::vector<int> bot_ids_;
  int listen_fd_ = -1;
  int wake_[2] = {-1, -1};
  uint16_t port_ = 0;
  std::map<int, Client> clients_;  // by socket
  std::vector<int> doomed_;        // sockets to drop after the current step
  std::chrono::steady_clock::time_point next_bot_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace tellu::chatsim
