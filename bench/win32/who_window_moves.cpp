// Benchmark under Wine or Windows (not a test): tellu.exe in launch mode with
// a room of ten people, each moving 20 times a second through the relay, with
// the Real-time Who window closed and then open.  Every second each person's
// avatar comes again (a refresh request that changes no line) and every five
// seconds one person changes status (a line that changes).  Prints the bar's
// CPU time per relayed message, the list's rebuilds and paints, and how long
// the bar takes to answer a message sent from another thread.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "res/resource.h"
#include "tellu_launch_rig.h"
#include "gui/who_window.h"

namespace tellu {
namespace {

using wintest::CloseLaunchedHost;
using wintest::FileLines;
using wintest::Hex;
using wintest::Poll;
using wintest::TelluProcess;

using Clock = std::chrono::steady_clock;
constexpr int kPeople = 10;
constexpr int kTickMs = 50;

std::string Naming(const std::string& name, int n) {
  return std::string("\xFF\x0D", 2) + static_cast<char>(name.size()) + name + static_cast<char>(n);
}
std::string Move(int n, int x, int dir) {
  return std::string{static_cast<char>(n), '\x01', static_cast<char>(x >> 8), static_cast<char>(x),
                     0, 0, 0, 1, 0, static_cast<char>(dir)};
}
std::string Wears(const std::string& name) {
  const std::string avatar = "av\\" + name + ".mov";
  return std::string("\x00", 1) + static_cast<char>(name.size()) + name + "\x03\x05" +
         static_cast<char>(avatar.size()) + avatar;
}

double Quantile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(q * static_cast<double>(v.size())))];
}

double CpuMs(HANDLE process) {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
  auto ms = [](FILETIME t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

int Count(HWND window, const wchar_t* property) {
  return window ? static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(window, property))) : 0;
}

class Room : public wintest::LaunchRig {
 public:
  int Run(int seconds) {
    TelluProcess tellu(TelluIni(title, "", 30));
    if (!tellu.Start() || !tellu.WaitForBar()) return 1;
    if (!Poll([&] { return !server.Payloads().empty(); }) || !tellu.WaitForDock()) return 1;
    for (int i = 0; i < kPeople; ++i) {
      server.Send(Naming(Name(i), i + 2));
      server.Send(Wears(Name(i)));
    }
    Phase(tellu, seconds, false);
    PostMessageW(tellu.Bar(), WM_SYSCOMMAND, 80, 0);
    HWND who = nullptr;
    Poll([&] {
      who = tellu.FindWindowWhere([](HWND w) { return GetDlgItem(w, IDC_WHO_LIST) != nullptr; });
      return who && Count(who, WhoWindow::kRebuildsProperty) > 0;
    });
    if (!who) return 1;
    Phase(tellu, seconds, true, who);
    PostMessageW(tellu.Bar(), WM_CLOSE, 0, 0);
    tellu.WaitForExit();
    CloseLaunchedHost(log);
    return 0;
  }

 private:
  static std::string Name(int i) { return "person" + std::to_string(i); }
  int last_dir_ = 0;  // person 0's, across the phases

  void Phase(TelluProcess& tellu, int seconds, bool open, HWND who = nullptr) {
    std::atomic<bool> running{true};
    std::vector<double> answers;
    HWND bar = tellu.Bar();
    std::thread prober([&] {
      while (running) {
        const auto t0 = Clock::now();
        DWORD_PTR ignored;
        SendMessageTimeoutW(bar, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
        answers.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        Sleep(5);
      }
    });
    const int rebuilds = Count(who, WhoWindow::kRebuildsProperty);
    const int repaints = Count(who, WhoWindow::kRepaintsProperty);
    const double cpu = CpuMs(tellu.handle());
    int sent = 0, status_changes = 0;
    std::string last;
    const auto start = Clock::now();
    for (int tick = 0; tick < seconds * 1000 / kTickMs; ++tick) {
      for (int i = 0; i < kPeople; ++i) {
        // Status 0 or 2 for person 0, as it changes every 100 ticks.
        const int dir = i == 0 && (tick / 100) % 2 ? 2 : 0;
        if (i == 0 && dir != last_dir_) {
          last_dir_ = dir;
          ++status_changes;
        }
        last = Move(i + 2, tick % 200, dir);
        server.Send(last);
        ++sent;
        if (tick % 20 == 0) {
          server.Send(Wears(Name(i)));
          ++sent;
        }
      }
      const auto next = start + std::chrono::milliseconds((tick + 1) * kTickMs);
      for (auto now = Clock::now(); now < next; now = Clock::now()) {
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(next - now);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(wait.count()) + 1,
                                  QS_ALLINPUT);
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
      }
    }
    // Everything relayed: the host has the last move.
    const std::string last_line = "R " + Hex(last);
    Poll([&] {
      const auto lines = FileLines(log);
      return !lines.empty() && lines.back() == last_line;
    });
    const double used = CpuMs(tellu.handle()) - cpu;
    running = false;
    prober.join();
    std::printf("Who window %s: %d messages in %d s, %d status changes\n", open ? "open" : "closed",
                sent, seconds, status_changes);
    std::printf("  bar CPU %.1f ms, %.4f ms per relayed message\n", used, used / sent);
    if (open)
      std::printf("  list rebuilds %d, list paints %d\n",
                  Count(who, WhoWindow::kRebuildsProperty) - rebuilds,
                  Count(who, WhoWindow::kRepaintsProperty) - repaints);
    std::printf("  bar answers (%zu): median %.3f ms, p99 %.3f ms, max %.3f ms\n", answers.size(),
                Quantile(answers, 0.5), Quantile(answers, 0.99), Quantile(answers, 1.0));
    std::fflush(stdout);
  }
};

}  // namespace
}  // namespace tellu

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
  tellu::Room room;
  return room.Run(seconds);
}
