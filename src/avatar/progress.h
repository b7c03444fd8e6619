// The data side of a transfer's progress window: its texts, the share done
// as shown, the bar position and the animated face, refreshed by a 250 ms
// timer while the transfer runs.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/timers.h"
#include "platform/ui.h"

namespace tellu {

struct ProgressTexts {
  std::string title;
  std::string message;  // two lines joined by CR LF
};
// Names the file by the part of its reference after the first backslash.
ProgressTexts TransferTexts(std::string_view peer, std::string_view file_reference,
                            bool receiving);

// done / total in percent, in single precision.  Nothing is known of a
// transfer whose size is still 0, so it stands at 0; more bytes than
// announced stand at 100.
float Share(uint64_t done, uint64_t total);
// "%6.1f %%", with a tie rounded away from zero on every platform.
std::string ShareText(float share);
// The share truncated toward zero.
int BarPosition(float share);
// The animation's eight faces, in turn.
std::string_view Face(unsigned frame);

class ProgressWindow {
 public:
  static constexpr int kTickMs = 250;

  ProgressWindow(Ui& ui, Timers& timers, std::function<void()> cancel);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  void SetTexts(std::string_view peer, std::string_view file_reference, bool receiving);
  // Once the size is known; a second call changes nothing.
  void StartTimer();
  void Close();

  // Set by the transfer as bytes move.
  uint64_t total = 0;
  uint64_t done = 0;

 private:
  void Tick();

  Timers& timers_;
  std::unique_ptr<ProgressView> view_;
  Timers::Id timer_ = 0;
  unsigned frame_ = 0;
};

}  // namespace tellu
