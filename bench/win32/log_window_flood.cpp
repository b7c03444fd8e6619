// Benchmark under Wine or Windows (not a test): a flood of chat lines into an
// open real-time log window at its line limit, one refresh request per line,
// while another thread keeps sending the owner messages.  Prints the cost per
// line, the owner's answer times and the memory in use.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "log/log_store.h"
#include "platform/shell.h"
#include "settings/settings.h"
#include "gui/log_window.h"
#include "win32/window.h"

namespace {

using Clock = std::chrono::steady_clock;

class NoShell : public tellu::Shell {
 public:
  bool Open(const std::string&) override { return true; }
  bool Start(const std::string&, const std::string&, const std::string&) override { return false; }
};

class Owner : public tellu::Window {
 public:
  Owner() { Create({L"TelluFloodOwner"}, L"owner", WS_POPUP, 0, 0, 0, 10, 10, nullptr); }
};

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

double Quantile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(q * static_cast<double>(v.size())))];
}

size_t MemoryInUse() {
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

}  // namespace

int main(int argc, char** argv) {
  const int lines = argc > 1 ? std::atoi(argv[1]) : 10000;
  Owner owner;
  tellu::LogStore store;
  NoShell shell;
  tellu::Settings settings;
  tellu::LogWindow* window = tellu::LogWindow::Open(owner.hwnd(), store, shell, settings, nullptr);
  if (!window) return 1;
  // A second argument changes the view's line limit, to see what trimming costs.
  if (argc > 2) window->view().SetLineLimit(std::atoi(argv[2]));
  const std::string text = "flood line with an address www.example.com/path and some more words";
  for (size_t i = 0; i < tellu::LogStore::kCapacity; ++i) store.Append("<warm>", text);
  PostMessageW(window->hwnd(), tellu::kRefreshMessage, 0, 0);
  Pump();

  std::atomic<bool> running{true}, stopped{false};
  std::vector<double> answers;
  HWND target = owner.hwnd();
  std::thread prober([&] {
    while (running) {
      const auto t0 = Clock::now();
      DWORD_PTR ignored;
      SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
      answers.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
      Sleep(5);
    }
    stopped = true;
  });

  std::vector<double> costs;
  std::vector<size_t> memory;
  for (int i = 0; i < lines; ++i) {
    const auto t0 = Clock::now();
    store.Append("<Bob>", text + " " + std::to_string(i));
    PostMessageW(window->hwnd(), tellu::kRefreshMessage, 0, 0);
    // The paint comes once the queue is empty, as it does in the program.
    while (!store.pending().empty()) {
      Pump();
      if (!store.pending().empty()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    costs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    if (i % (lines / 10 > 0 ? lines / 10 : 1) == 0) memory.push_back(MemoryInUse());
  }
  running = false;
  while (!stopped) {
    Pump();
    Sleep(1);
  }
  prober.join();

  const LRESULT view_lines =
      SendMessageW(GetDlgItem(window->hwnd(), 134), EM_GETLINECOUNT, 0, 0);
  std::printf("lines %d, view lines %ld, store %zu\n", lines, static_cast<long>(view_lines),
              store.size());
  std::printf("per line: median %.3f ms, p99 %.3f ms, max %.3f ms\n", Quantile(costs, 0.5),
              Quantile(costs, 0.99), Quantile(costs, 1.0));
  std::printf("owner answers (%zu): median %.3f ms, p99 %.3f ms\n", answers.size(),
              Quantile(answers, 0.5), Quantile(answers, 0.99));
  std::printf("memory in use (KiB) every %d lines:", std::max(1, lines / 10));
  for (size_t m : memory) std::printf(" %zu", m / 1024);
  std::printf("\n");
  window->Close();
  return 0;
}
