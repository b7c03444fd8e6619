#include "server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "net.h"

namespace tellu::chatsim {
namespace {

constexpr std::size_t kMaxClients = 200;
// A client that stops reading is dropped rather than held in memory forever.
constexpr std::size_t kMaxBacklog = 1 << 20;

}  // namespace

ChatServer::ChatServer(const ServerOptions& options)
    : options_(options),
      core_([verbose = options.verbose](const std::string& line) {
        if (verbose) std::cerr << "chatsim: " << line << '\n';
      }),
      bots_(std::max(0, options.bots), options.seed) {}

ChatServer::~ChatServer() {
  Stop();
  for (auto& [fd, client] : clients_) net::Close(fd);
  net::Close(listen_fd_);
  net::Close(wake_[0]);
  net::Close(wake_[1]);
}

bool ChatServer::Open(std::string* error) {
  if (listen_fd_ >= 0) return true;
  if (pipe(wake_) != 0) {
    *error = std::strerror(errno);
    return false;
  }
  net::SetNonBlocking(wake_[0]);
  net::SetNonBlocking(wake_[1]);
  listen_fd_ = net::Listen(options_.port, error);
  if (listen_fd_ < 0) return false;
  port_ = net::LocalPort(listen_fd_);
  for (const Bot& b : bots_.bots()) bot_ids_.push_back(core_.AddBot(b.name, b.pos, b.avatar));
  next_bot_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(options_.bot_interval_ms);
  return true;
}

void ChatServer::Run() {
  while (!stop_ && listen_fd_ >= 0) Step();
}

void ChatServer::Start() {
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
}

void ChatServer::Stop() {
  stop_ = true;
  if (wake_[1] >= 0) {
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = write(wake_[1], &byte, 1);
  }
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void ChatServer::Step() {
  std::vector<pollfd> fds;
  fds.push_back({listen_fd_, POLLIN, 0});
  fds.push_back({wake_[0], POLLIN, 0});
  for (auto& [fd, client] : clients_) {
    const std::string* out = core_.Output(client.id);
    fds.push_back({fd, static_cast<short>(POLLIN | (out && !out->empty() ? POLLOUT : 0)), 0});
  }
  int timeout = -1;
  if (!bot_ids_.empty()) {
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
        next_bot_ - std::chrono::steady_clock::now());
    timeout = static_cast<int>(std::clamp<long long>(wait.count(), 0, 60000));
  }
  if (poll(fds.data(), fds.size(), timeout) < 0) {
    if (errno != EINTR) stop_ = true;
    return;
  }
  if (fds[1].revents) {
    char drain[64];
    while (read(wake_[0], drain, sizeof drain) > 0) {
    }
  }
  if (fds[0].revents & POLLIN) Accept();
  for (std::size_t i = 2; i < fds.size(); ++i) {
    if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
    auto it = clients_.find(fds[i].fd);
    if (it != clients_.end()) ReadFrom(it->first, it->second);
  }
  if (!bot_ids_.empty() && std::chrono::steady_clock::now() >= next_bot_) BotTurn();
  FlushAll();
}

void ChatServer::Accept() {
  for (;;) {
    const int fd = accept(listen_fd_, nullptr, nullptr);
    if (fd < 0) return;
    if (clients_.size() >= kMaxClients) {
      net::Close(fd);
      continue;
    }
    net::SetNonBlocking(fd);
    clients_[fd].id = core_.Connect();
  }
}

void ChatServer::ReadFrom(int fd, Client& client) {
  std::string bytes;
  if (!net::ReadSome(fd, bytes)) {
    doomed_.push_back(fd);
    return;
  }
  bool keep = true;
  client.reader.Feed(bytes, [&](std::string_view payload) {
    if (keep) keep = core_.Receive(client.id, payload);
  });
  if (!keep) doomed_.push_back(fd);
}

void ChatServer::BotTurn() {
  next_bot_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(options_.bot_interval_ms);
  const BotDeed d = bots_.Next(core_.ClientNames());
  const int id = bot_ids_[d.bot];
  const Bot& b = bots_.bots()[d.bot];
  switch (d.kind) {
    case BotDeed::kWalk: core_.Move(id, d.pos); break;
    case BotDeed::kSay: core_.Say(id, b.name, d.text); break;
    case BotDeed::kWhisper: core_.Whisper(id, d.target, b.name, d.text); break;
    case BotDeed::kAvatar: core_.SetAvatar(id, d.avatar); break;
  }
}

// Dropping a client sends releases to the others, so flushing goes on until
// no more clients are dropped.
void ChatServer::FlushAll() {
  do {
    for (int fd : doomed_) Drop(fd);
    doomed_.clear();
    for (auto& [fd, client] : clients_) {
      std::string* out = core_.Output(client.id);
      if (!out) continue;
      if (!net::Flush(fd, *out) || out->size() > kMaxBacklog) doomed_.push_back(fd);
    }
  } while (!doomed_.empty());
}

void ChatServer::Drop(int fd) {
  auto it = clients_.find(fd);
  if (it == clients_.end()) return;
  core_.Disconnect(it->second.id);
  clients_.erase(it);
  net::Close(fd);
}

}  // namespace tellu::chatsim
