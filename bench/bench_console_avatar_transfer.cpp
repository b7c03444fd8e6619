// An avatar file of 1 MB between the two sides of the transfer protocol on
// loopback sockets, with the console's event loop and sockets and real files,
// next to what the protocol allows at best: one 512-byte chunk per round trip
// (bound = 512 B / round trip time, measured with a chunk's bytes one way and
// an acknowledgement's the other).
#include <benchmark/benchmark.h>

#ifndef _WIN32
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "avatar/accept.h"
#include "avatar/ava_rcv.h"
#include "posix/posix_loop.h"
#include "posix/posix_net.h"
#include "files/std_files.h"
#include "relay/serv_sock.h"

namespace tellu {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kFileSize = 1 << 20;
constexpr int kChunk = 512;
constexpr char kReference[] = "avatar\\bench.mov";
constexpr int kTimeoutMs = 60000;

class SilentView : public ProgressView {
 public:
  void SetTexts(const std::string&, const std::string&) override {}
  void SetShare(const std::string&, int, const std::string&) override {}
  void Close() override {}
};

class SilentUi : public Ui {
 public:
  void Notice(const std::string&, const std::string&, NoticeIcon) override {}
  void Ask(const std::string&, const std::string&, std::function<void(bool)> answer) override {
    answer(false);
  }
  using Ui::Beep;
  void Beep(BeepKind) override {}
  void Flash(bool) override {}
  void LogChanged() override {}
  void WhoChanged() override {}
  void StatusChanged(int) override {}
  void EnableLoginItems(bool) override {}
  void ToggleWhoWindow() override {}
  std::unique_ptr<ProgressView> OpenProgress(std::function<void()>) override {
    return std::make_unique<SilentView>();
  }
};

// One side's program: its host folder; ended objects wait for the loop to
// be done with them.
class Side : public TransferSite {
 public:
  Side(PosixLoop& loop, PosixNet& net, std::string dir, int* port)
      : loop_(loop), net_(net), dir_(std::move(dir)), port_(port) {}

  Net& net() override { return net_; }
  Files& files() override { return files_; }
  Timers& timers() override { return loop_; }
  Ui& ui() override { return ui_; }
  const std::string& ProgramDir() override { return dir_; }
  std::string OwnName() override { return "bench"; }
  int ServerPort() override { return *port_; }
  void SystemLine(const std::string&) override {}
  void AvatarRefresh(const std::string&) override { ++received; }
  bool Admits(TransferDirection, const std::string&, const std::string&) override { return true; }
  void Received(const std::string&) override {}
  std::set<std::string>& TempPaths() override { return temp_paths_; }
  void Release(PeerObject*) override { ++ended; }

  int received = 0;
  int ended = 0;

 private:
  PosixLoop& loop_;
  PosixNet& net_;
  StdFiles files_;
  SilentUi ui_;
  std::string dir_;
  int* port_;
  std::set<std::string> temp_paths_;
};

// A temporary folder with the owner's and the requester's host folders.
class Folders {
 public:
  Folders() {
    std::string pattern = (fs::temp_directory_path() / "tellu-bench-XXXXXX").string();
    root_ = mkdtemp(pattern.data()) ? pattern : std::string();
    fs::create_directories(fs::path(root_) / "owner" / "avatar");
    fs::create_directories(fs::path(root_) / "requester" / "avatar");
    std::string data(kFileSize, '\0');
    std::mt19937 random(1);
    for (char& c : data) c = static_cast<char>(random());
    std::ofstream(fs::path(root_) / "owner" / "avatar" / "bench.mov", std::ios::binary) << data;
  }
  ~Folders() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  // Host program directories end in a backslash.
  std::string Owner() const { return root_ + "/owner\\"; }
  std::string Requester() const { return root_ + "/requester\\"; }

 private:
  std::string root_;
};

// The owner's listening socket hands each connection, greeted, to an
// SCmdAccept, as the relay does once a host is connected.
class Owner {
 public:
  Owner(PosixLoop& loop, PosixNet& net, const std::string& dir)
      : side_(loop, net, dir, &port_) {
    listener_ = net.Listen(0, [this](std::unique_ptr<Stream> connection) {
      auto sock = std::make_unique<CServSock>(std::move(connection), nullptr);
      sock->SetConnectionKind(SockKind::kPeerAccepted);
      sock->Send("ok\n");
      accepted_.push_back(std::make_unique<SCmdAccept>(side_, std::move(sock)));
    });
    port_ = listener_ ? listener_->Port() : 0;
  }
  int port() const { return port_; }
  int ended() const { return side_.ended; }

 private:
  int port_ = 0;
  Side side_;
  std::unique_ptr<Listener> listener_;
  std::vector<std::unique_ptr<SCmdAccept>> accepted_;
};

// A connection on which a chunk's bytes (header and 512 bytes) are answered
// with an acknowledgement's: the wait the protocol pays for every chunk.
class ChunkEcho {
 public:
  ChunkEcho(PosixLoop& loop, PosixNet& net) : loop_(loop) {
    listener_ = net.Listen(0, [this](std::unique_ptr<Stream> connection) {
      echo_ = std::move(connection);
      echo_->SetHandlers(
          [this](std::string_view bytes) {
            pending_ += bytes;
            for (; pending_.size() >= kChunkBytes; pending_.erase(0, kChunkBytes))
              echo_->Send("@\n");
          },
          [] {});
    });
    if (!listener_) return;
    client_ = net.Connect("127.0.0.1", listener_->Port(), [](bool) {});
    client_->SetHandlers(
        [this](std::string_view bytes) {
          acks_ += bytes;
          for (; acks_.size() >= 2; acks_.erase(0, 2)) ++answered_;
        },
        [] {});
    ok_ = Trips(1) > 0;  // connected, and warmed up
  }

  // The mean time of n round trips, one after the other; 0 on failure.
  double Trips(int n) {
    if (!client_) return 0;
    const std::string chunk = "0200" + std::string(kChunk, 'x');
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i) {
      const long want = answered_ + 1;
      client_->Send(chunk);
      if (!loop_.RunUntil([&] { return answered_ >= want; }, kTimeoutMs)) return 0;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count() / n;
  }
  bool ok() const { return ok_; }

 private:
  static constexpr size_t kChunkBytes = 4 + kChunk;
  PosixLoop& loop_;
  std::unique_ptr<Listener> listener_;
  std::unique_ptr<Stream> echo_;
  std::unique_ptr<Stream> client_;
  std::string pending_;
  std::string acks_;
  long answered_ = 0;
  bool ok_ = false;
};

void BM_ChunkRoundTrip(benchmark::State& state) {
  PosixLoop loop;
  PosixNet net(loop);
  ChunkEcho echo(loop, net);
  if (!echo.ok()) return state.SkipWithError("no round trip on loopback");
  for (auto _ : state) {
    const double rtt = echo.Trips(1);
    if (rtt == 0) return state.SkipWithError("the round trip failed");
    state.SetIterationTime(rtt);
  }
  // 512 bytes per round trip, as a rate: the bound.
  state.counters["bound"] =
      benchmark::Counter(kChunk, benchmark::Counter::kIsIterationInvariantRate,
                         benchmark::Counter::kIs1024);
}
BENCHMARK(BM_ChunkRoundTrip)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_AvatarTransfer1MB(benchmark::State& state) {
  Folders folders;
  PosixLoop loop;
  PosixNet net(loop);
  const double rtt = ChunkEcho(loop, net).Trips(2000);
  if (rtt == 0) return state.SkipWithError("no round trip on loopback");
  Owner owner(loop, net, folders.Owner());
  int port = owner.port();
  if (port == 0) return state.SkipWithError("cannot listen on loopback");
  Side requester(loop, net, folders.Requester(), &port);

  int files = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    bool ended = false;
    const int owner_ended = owner.ended();
    SCmdAvaRcv fetch(requester, {"owner", "127.0.0.1", kReference, TransferDirection::kGet},
                     [&](Transfer&) { ended = true; });
    fetch.Start();
    // Done when the file is in place and the owner has taken the last
    // acknowledgement.
    loop.RunUntil([&] { return ended && owner.ended() > owner_ended; }, kTimeoutMs);
    if (!ended || requester.received != ++files)
      return state.SkipWithError("the transfer did not complete");
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  state.SetBytesProcessed(static_cast<int64_t>(files) * kFileSize);
  // The rate is bytes_per_second; beside it the bound it is held to.
  const double bound = kChunk / rtt;
  const double rate = files * static_cast<double>(kFileSize) / took.count();
  state.counters["rtt_us"] = rtt * 1e6;
  state.counters["bound_MiBps"] = bound / (1 << 20);
  state.counters["of_bound"] = rate / bound;
}
BENCHMARK(BM_AvatarTransfer1MB)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tellu
#endif
