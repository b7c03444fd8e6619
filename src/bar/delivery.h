// Deliver text in launch mode: up to 12 chat lines of at most 110 bytes each,
// paced 1300 ms apart by a timer; deliveries wait their turn in order.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/timers.h"
#include "platform/ui.h"

namespace tellu {

class TextDelivery {
 public:
  static constexpr size_t kMaxLines = 12;
  static constexpr int kLinePauseMs = 1300;

  struct Hooks {
    std::function<void(const std::string& line)> send_chat_line;
    std::function<int()> status;
    std::function<void(int index)> set_status;
    std::function<bool()> has_server;
  };

  TextDelivery(Timers& timers, Ui& ui, Hooks hooks);
  ~TextDelivery();
  TextDelivery(const TextDelivery&) = delete;
  TextDelivery& operator=(const TextDelivery&) = delete;

  void Deliver(std::string_view text);
  // Lines still waiting for their turn.
  size_t queued() const { return queue_.size(); }

 private:
  struct Line {
    std::string text;
    bool first;  // the first line of its delivery goes without a pause
  };
  void Pump();

  Timers& timers_;
  Ui& ui_;
  Hooks hooks_;
  std::deque<Line> queue_;
  Timers::Id timer_ = 0;
  bool pumping_ = false;
};

// The lines of a text cut at every "\r\n"; a non-empty rest is the last line.
std::vector<std::string> SplitChatLines(std::string_view text);

}  // namespace tellu
