// relay_load: the relay benchmark.  Plays the host and the chat server and
// pushes a busy room's traffic through three paths: a direct connection, a
// plain byte forwarder (socat) and tellu-cli; prints messages per second,
// round-trip latency, the latency each adds over the direct connection, and
// tellu-cli's memory over a long run.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "relay_load_mix.h"
#include "relay_load_net.h"

namespace tellu::bench {
namespace {

constexpr int kStartMs = 15000;     // bound on a program coming up
constexpr int kPumpMs = 600000;     // bound on one run of the stream
constexpr char kOwnName[] = "Bench";

// Targets for the relay.
constexpr double kTargetRate = 500000;     // messages per second
constexpr double kTargetAddedUs = 50;      // median added round trip
constexpr double kTargetPeakKb = 8 * 1024; // VmHWM
constexpr long kRoundKb = 256;             // what one round of reads may queue

struct Options {
  std::string cli, dir, socat = "socat";
  int listen_port = 0, server_port = 0;
  size_t messages = 500000;  // each way, per run
  int runs = 3;              // throughput: the best of these
  int long_runs = 6;         // the memory soak, in runs
  size_t round_trips = 20000;
  uint32_t seed = 1;
};

const char kUsage[] =
    "usage: relay_load --cli TELLU_CLI --dir LAYOUT --listen-port RN --server-port SN\n"
    "                  [--messages N] [--runs N] [--long-runs N] [--round-trips N]\n"
    "                  [--socat PATH|none] [--seed S]\n"
    "LAYOUT is the demo's layout (LAYOUT/windows holds TELLU.INI with RN and SN).\n";

std::optional<Options> Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i], v = argv[i + 1];
    if (a == "--cli") o.cli = v;
    else if (a == "--dir") o.dir = v;
    else if (a == "--socat") o.socat = v;
    else if (a == "--listen-port") o.listen_port = std::atoi(v.c_str());
    else if (a == "--server-port") o.server_port = std::atoi(v.c_str());
    else if (a == "--messages") o.messages = std::strtoul(v.c_str(), nullptr, 10);
    else if (a == "--runs") o.runs = std::atoi(v.c_str());
    else if (a == "--long-runs") o.long_runs = std::atoi(v.c_str());
    else if (a == "--round-trips") o.round_trips = std::strtoul(v.c_str(), nullptr, 10);
    else if (a == "--seed") o.seed = static_cast<uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
    else return std::nullopt;
  }
  if (argc % 2 == 0 || o.cli.empty() || o.dir.empty() || o.listen_port <= 0 ||
      o.server_port <= 0 || o.messages == 0 || o.runs < 1 || o.long_runs < 0 ||
      o.round_trips == 0)
    return std::nullopt;
  return o;
}

// A child program whose standard streams go where asked; it ends with us.
pid_t Spawn(const std::vector<std::string>& args, const std::string& out, const std::string& err) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  const int in = open("/dev/null", O_RDONLY);
  const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || o < 0 || e < 0) _exit(127);
  dup2(in, 0);
  dup2(o, 1);
  dup2(e, 2);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

// The exit status, or -1 when it had to be killed.
int Stop(pid_t pid, int sig) {
  kill(pid, sig);
  int status = 0;
  for (int i = 0; i < 500; ++i) {
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -1;
}

struct Memory {
  long hwm_kb = 0, rss_kb = 0;
};

Memory ReadMemory(pid_t pid) {
  Memory m;
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("VmHWM:", 0) == 0) m.hwm_kb = std::atol(line.c_str() + 6);
    if (line.rfind("VmRSS:", 0) == 0) m.rss_kb = std::atol(line.c_str() + 6);
  }
  return m;
}

// User and system CPU time of a process, in seconds.
double CpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream rest(stat.substr(close + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i) {
    if (i == 14) utime = std::stoull(field);
    if (i == 15) stime = std::stoull(field);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())));
  return v[i];
}

struct Result {
  explicit Result(std::string path) : name(std::move(path)) {}
  std::string name;
  bool ran = false;
  std::string note;
  double rate = 0;  // messages per second, both ways together
  double median_us = 0, p99_us = 0;
};

class Bench {
 public:
  explicit Bench(Options o) : o_(std::move(o)), traffic_(MakeTraffic(o_.messages, o_.seed, kOwnName)) {}

  int Run() {
    std::printf("relay benchmark: %zu messages each way per run (host to server: own moves, chat, "
                "whispers; server to host: moves, position batches, chat, whispers, events), "
                "best of %d runs; %zu round trips one message in flight\n",
                o_.messages, o_.runs, o_.round_trips);
    std::fflush(stdout);
    results_.push_back(Direct());
    results_.push_back(Socat());
    results_.push_back(Relay());
    Report();
    return failed_ ? 1 : 0;
  }

 private:
  // Throughput and latency of one connected path.
  // With a relay's pid, also its share of a core while the streams ran.
  void Measure(const Link& link, bool relayed, Result& r, pid_t relay = 0) {
    std::string error;
    double best = 0, busy = 0, wall = 0;
    for (int i = 0; i < o_.runs && error.empty(); ++i) {
      const double cpu = relay ? CpuSeconds(relay) : 0;
      const double s = PumpOnce(link, relayed, &error);
      if (s <= 0) break;
      best = std::max(best, 2.0 * static_cast<double>(o_.messages) / s);
      if (relay) busy += CpuSeconds(relay) - cpu;
      wall += s;
    }
    if (relay && wall > 0) {
      cpu_share_ = busy / wall;
      rate_per_cpu_ = 2.0 * static_cast<double>(o_.messages) * o_.runs / busy;
    }
    if (error.empty()) {
      // A few round trips first, so the paths are warm.
      RoundTrips(link, traffic_, relayed, 200, &error);
      const std::vector<double> us = RoundTrips(link, traffic_, relayed, o_.round_trips, &error);
      r.median_us = Percentile(us, 0.5);
      r.p99_us = Percentile(us, 0.99);
    }
    if (!error.empty()) return Fail(r, error);
    r.rate = best;
    r.ran = true;
  }

  double PumpOnce(const Link& link, bool relayed, std::string* error) {
    return Pump(link, traffic_.up.bytes, relayed ? traffic_.up.relayed : traffic_.up.bytes,
                traffic_.down.bytes, relayed ? traffic_.down.relayed : traffic_.down.bytes,
                kPumpMs, error);
  }

  void Fail(Result& r, const std::string& why) {
    r.note = "FAILED: " + why;
    failed_ = true;
    std::fprintf(stderr, "relay_load: %s: %s\n", r.name.c_str(), why.c_str());
  }

  // Connects the host to `port` and takes the connection that reaches the
  // server; the login goes first, as the relay needs it.
  bool Connect(int listener, int port, Link& link, std::string* error) {
    link.host = ConnectLoopback(port, kStartMs);
    if (link.host < 0) {
      *error = "cannot connect to port " + std::to_string(port);
      return false;
    }
    if (::send(link.host, traffic_.login.data(), traffic_.login.size(), MSG_NOSIGNAL) < 0) {
      *error = "cannot send the login";
      return false;
    }
    link.server = AcceptWithin(listener, kStartMs);
    if (link.server < 0) {
      *error = "no connection reached the server";
      return false;
    }
    return ReadExpected(link.server, traffic_.login, kStartMs, error);
  }

  static void Close(Link& link) {
    if (link.host >= 0) close(link.host);
    if (link.server >= 0) close(link.server);
    link = Link{};
  }

  Result Direct() {
    Result r("direct");
    const int listener = ListenLoopback(0);
    Link link;
    std::string error;
    if (listener < 0 || !Connect(listener, LocalPort(listener), link, &error))
      Fail(r, error.empty() ? "cannot listen" : error);
    else
      Measure(link, false, r);
    Close(link);
    if (listener >= 0) close(listener);
    return r;
  }

  Result Socat() {
    Result r("socat");
    if (o_.socat == "none") {
      r.note = "skipped";
      return r;
    }
    const int listener = ListenLoopback(0);
    const int probe = ListenLoopback(0);  // a free port for socat
    const int port = LocalPort(probe);
    close(probe);
    if (listener < 0 || port == 0) {
      Fail(r, "cannot listen");
      return r;
    }
    const pid_t pid = Spawn({o_.socat, "TCP-LISTEN:" + std::to_string(port) +
                                           ",bind=127.0.0.1,reuseaddr,fork",
                             "TCP:127.0.0.1:" + std::to_string(LocalPort(listener))},
                            "/dev/null", o_.dir + "/socat.err");
    Link link;
    std::string error;
    if (!Connect(listener, port, link, &error))
      Fail(r, error + " (is socat installed?)");
    else
      Measure(link, false, r);
    Close(link);
    Stop(pid, SIGTERM);
    close(listener);
    return r;
  }

  Result Relay() {
    Result r("tellu-cli");
    const int listener = ListenLoopback(o_.server_port);
    if (listener < 0) {
      Fail(r, "cannot listen on the server port " + std::to_string(o_.server_port));
      return r;
    }
    const pid_t pid = Spawn({o_.cli, "--windows-dir", o_.dir + "/windows", "--avatar-requests",
                             "no", "S1"},
                            "/dev/null", o_.dir + "/cli.err");
    Link link;
    std::string error;
    if (!Connect(listener, o_.listen_port, link, &error)) {
      Fail(r, error + " (see " + o_.dir + "/cli.err)");
    } else {
      mem_start_ = ReadMemory(pid);
      Measure(link, true, r, pid);
      mem_measured_ = ReadMemory(pid);
      for (int i = 0; i < o_.long_runs && r.ran; ++i) {
        if (PumpOnce(link, true, &error) < 0) Fail(r, "long run: " + error);
        rss_trail_.push_back(ReadMemory(pid).rss_kb);
      }
      mem_long_ = ReadMemory(pid);
    }
    Close(link);
    const int status = Stop(pid, SIGTERM);
    if (status != 0 && r.ran) Fail(r, "tellu-cli ended with status " + std::to_string(status));
    close(listener);
    return r;
  }

  void Report() const {
    const Result& direct = results_[0];
    std::printf("\n%-10s %14s %9s %13s %11s %15s %13s\n", "path", "messages/s", "x direct",
                "RTT median", "RTT p99", "added median", "added p99");
    for (const Result& r : results_) {
      if (!r.ran) {
        std::printf("%-10s %s\n", r.name.c_str(), r.note.c_str());
        continue;
      }
      std::printf("%-10s %14.0f %9.2f %10.1f us %8.1f us", r.name.c_str(), r.rate,
                  direct.ran ? r.rate / direct.rate : 0.0, r.median_us, r.p99_us);
      if (&r != &direct && direct.ran)
        std::printf(" %12.1f us %10.1f us", r.median_us - direct.median_us,
                    r.p99_us - direct.p99_us);
      std::printf("\n");
    }
    const Result& socat = results_[1];
    const Result& relay = results_[2];
    if (relay.ran && socat.ran && direct.ran)
      std::printf("tellu-cli / socat: throughput %.2f, added median latency %.2f, added p99 %.2f\n",
                  relay.rate / socat.rate,
                  (relay.median_us - direct.median_us) / (socat.median_us - direct.median_us),
                  (relay.p99_us - direct.p99_us) / (socat.p99_us - direct.p99_us));
    std::printf("(a round trip crosses the path twice; messages/s counts both ways together)\n");
    if (!relay.ran) return;
    const double total = static_cast<double>(o_.messages) * 2;
    std::printf("tellu-cli CPU while the streams ran: %.0f%% of one core, %.0f messages per second "
                "of its own CPU time\n",
                cpu_share_ * 100, rate_per_cpu_);
    std::printf("tellu-cli memory (VmHWM peak / VmRSS): %.1f / %.1f MB at start, "
                "%.1f / %.1f MB after %.1f M messages, %.1f / %.1f MB after %.1f M more\n",
                mem_start_.hwm_kb / 1024.0, mem_start_.rss_kb / 1024.0,
                mem_measured_.hwm_kb / 1024.0, mem_measured_.rss_kb / 1024.0,
                total * o_.runs / 1e6, mem_long_.hwm_kb / 1024.0, mem_long_.rss_kb / 1024.0,
                total * o_.long_runs / 1e6);
    std::printf("tellu-cli VmRSS after each run of the long one (MB):");
    for (long kb : rss_trail_) std::printf(" %.2f", kb / 1024.0);
    std::printf("\n");
    const double added = direct.ran ? relay.median_us - direct.median_us : relay.median_us;
    std::printf("\ntargets for tellu-cli:\n");
    Target(relay.rate >= kTargetRate, "at least 500000 messages/s", Number(relay.rate, "/s"));
    Target(added < kTargetAddedUs, "median added round trip under 50 us", Number(added, " us"));
    Target(mem_long_.hwm_kb < kTargetPeakKb, "peak RSS under 8 MB",
           Number(mem_long_.hwm_kb / 1024.0, " MB"));
    // A leak grows with every message; what a slow moment leaves queued is
    // at most a round of reads (4 x 64 KB) past the earlier peak.
    Target(mem_long_.hwm_kb <= mem_measured_.hwm_kb + kRoundKb, "no growth over the long run",
           Number((mem_long_.hwm_kb - mem_measured_.hwm_kb) / 1024.0, " MB more"));
  }

  static std::string Number(double v, const char* unit) {
    char text[64];
    std::snprintf(text, sizeof text, v >= 1000 ? "%.0f%s" : "%.1f%s", v, unit);
    return text;
  }

  static void Target(bool met, const char* what, const std::string& value) {
    std::printf("  %-40s %-8s (%s)\n", what, met ? "met" : "MISSED", value.c_str());
  }

  Options o_;
  Traffic traffic_;
  std::vector<Result> results_;
  Memory mem_start_, mem_measured_, mem_long_;
  std::vector<long> rss_trail_;  // VmRSS after each run of the long one
  double cpu_share_ = 0, rate_per_cpu_ = 0;
  bool failed_ = false;
};

}  // namespace
}  // namespace tellu::bench

int main(int argc, char** argv) {
  const auto options = tellu::bench::Parse(argc, argv);
  if (!options) {
    std::fputs(tellu::bench::kUsage, stderr);
    return 2;
  }
  signal(SIGPIPE, SIG_IGN);
  return tellu::bench::Bench(*options).Run();
}
