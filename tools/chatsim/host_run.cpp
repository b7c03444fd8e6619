// The host's event loop: one socket, standard input and a script, no threads.
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iostream>

#include "frame.h"
#include "host.h"
#include "ini.h"
#include "net.h"

namespace tellu::chatsim {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kExpectTimeout = std::chrono::seconds(10);

class HostLoop {
 public:
  HostLoop(const HostOptions& o, int fd) : session_(o.name, o.avatar, o.room), fd_(fd) {}

  void LoadScript(std::istream& in) {
    for (std::string line; std::getline(in, line);)
      if (!line.empty() && line.front() != '#') script_.push_back(line);
  }

  int Run() {
    for (const std::string& p : session_.Greeting()) out_ += Frame(p);
    while (!done_) {
      RunScript();
      if (done_) break;
      Poll();
    }
    net::Flush(fd_, out_);
    return code_;
  }

 private:
  void Show(const std::string& line) {
    std::cout << line << '\n' << std::flush;
    seen_.push_back(line);
  }

  void Perform(std::string_view line) {
    const HostSession::Reply r = session_.Typed(line);
    for (const std::string& p : r.payloads) out_ += Frame(p);
    for (const std::string& l : r.lines) Show(l);
    if (r.quit) done_ = true;
  }

  // Runs script lines until one has to wait.
  void RunScript() {
    while (!done_) {
      if (Clock::now() < resume_) return;
      if (!expect_.empty()) {
        if (!Seen(expect_)) {
          if (Clock::now() < expect_until_) return;
          std::cerr << "chatsim host: expected a line with \"" << expect_ << "\"\n";
          code_ = 3;
          done_ = true;
          return;
        }
        expect_.clear();
      }
      if (script_.empty()) return;
      const std::string line = script_.front();
      script_.pop_front();
      if (line.rfind("/sleep ", 0) == 0) {
        resume_ = Clock::now() + std::chrono::milliseconds(std::atoi(line.c_str() + 7));
      } else if (line.rfind("/expect ", 0) == 0) {
        expect_ = line.substr(8);
        expect_until_ = Clock::now() + kExpectTimeout;
      } else {
        Perform(line);
      }
    }
  }

  bool Scripting() const {
    return !script_.empty() || !expect_.empty() || Clock::now() < resume_;
  }

  // Looks for text in the lines shown since the last expectation was met.
  bool Seen(const std::string& text) {
    for (std::size_t i = 0; i < seen_.size(); ++i) {
      if (seen_[i].find(text) == std::string::npos) continue;
      seen_.erase(seen_.begin(), seen_.begin() + static_cast<long>(i) + 1);
      return true;
    }
    return false;
  }

  void Poll() {
    std::vector<pollfd> fds{{fd_, static_cast<short>(POLLIN | (out_.empty() ? 0 : POLLOUT)), 0}};
    const bool scripting = Scripting();
    const bool typing = stdin_open_ && !scripting;
    if (typing) fds.push_back({STDIN_FILENO, POLLIN, 0});
    int timeout = -1;
    if (scripting) {
      const auto until = expect_.empty() ? resume_ : expect_until_;
      const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
      timeout = static_cast<int>(std::max<long long>(0, std::min<long long>(wait.count(), 10000)));
    }
    if (poll(fds.data(), fds.size(), timeout) < 0) return;
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
      std::string bytes;
      if (!net::ReadSome(fd_, bytes)) return Closed();
      reader_.Feed(bytes, [&](std::string_view payload) {
        for (const std::string& line : session_.Show(payload)) Show(line);
      });
    }
    if (!net::Flush(fd_, out_)) return Closed();
    if (typing && fds.size() > 1 && fds[1].revents) ReadTyping();
  }

  void Closed() {
    Show("* server closed the connection");
    if (!expect_.empty() && !Seen(expect_)) {
      std::cerr << "chatsim host: expected a line with \"" << expect_ << "\"\n";
      code_ = 3;
    }
    done_ = true;
  }

  void ReadTyping() {
    char buffer[1024];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
      stdin_open_ = false;  // stay on until the server closes
      return;
    }
    typed_.append(buffer, static_cast<std::size_t>(n));
    for (std::size_t end; !done_ && (end = typed_.find('\n')) != std::string::npos;) {
      const std::string line = typed_.substr(0, end);
      typed_.erase(0, end + 1);
      Perform(line);
    }
  }

  HostSession session_;
  int fd_;
  FrameReader reader_;
  std::string out_;
  std::string typed_;
  std::deque<std::string> script_;
  std::deque<std::string> seen_;
  std::string expect_;
  Clock::time_point resume_{};
  Clock::time_point expect_until_{};
  bool stdin_open_ = true;
  bool done_ = false;
  int code_ = 0;
};

}  // namespace

int RunHost(const HostOptions& o) {
  const auto server = ReadIniValue(o.ini, o.section, o.key);
  if (!server || server->empty()) {
    std::cerr << "chatsim host: no server name under [" << o.section << "] " << o.key << " in "
              << o.ini << '\n';
    return 2;
  }
  std::ifstream script;
  if (!o.script.empty()) {
    script.open(o.script);
    if (!script) {
      std::cerr << "chatsim host: cannot read " << o.script << '\n';
      return 2;
    }
  }
  std::string error;
  const int fd = net::Connect(*server, o.port, &error);
  if (fd < 0) {
    std::cerr << "chatsim host: cannot connect to " << *server << ":" << o.port << ": " << error
              << '\n';
    return 1;
  }
  HostLoop loop(o, fd);
  if (script.is_open()) loop.LoadScript(script);
  const int code = loop.Run();
  net::Close(fd);
  return code;
}

}  // namespace tellu::chatsim
