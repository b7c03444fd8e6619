#include "bar/delivery.h"

#include "bar/text_limit.h"

namespace tellu {

std::vector<std::string> SplitChatLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at = text.find("\r\n"); at != std::string_view::npos;
       at = text.find("\r\n", start)) {
    lines.emplace_back(text.substr(start, at - start));
    start = at + 2;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

TextDelivery::TextDelivery(Timers& timers, Ui& ui, Hooks hooks)
    : timers_(timers), ui_(ui), hooks_(std::move(hooks)) {}

TextDelivery::~TextDelivery() {
  if (timer_) timers_.Cancel(timer_);
}

void TextDelivery::Deliver(std::string_view text) {
  if (hooks_.status && hooks_.status() == kAwayStatus && hooks_.set_status)
    hooks_.set_status(kNormalStatus);
  if (!hooks_.has_server || !hooks_.has_server()) return;
  std::vector<std::string> lines = SplitChatLines(text);
  if (lines.size() > kMaxLines) {
    ui_.Beep();
    return;
  }
  for (size_t i = 0; i < lines.size(); ++i) queue_.push_back({CutToLimit(lines[i]), i == 0});
  if (!timer_) Pump();
}

void TextDelivery::Pump() {
  // A chat line sent from here may come back as a new delivery; it joins the
  // queue and this loop sends it in turn.
  if (pumping_) return;
  pumping_ = true;
  while (!queue_.empty()) {
    Line line = std::move(queue_.front());
    queue_.pop_front();
    // The connection can go while lines wait; nothing is sent without it.
    if (hooks_.send_chat_line && hooks_.has_server && hooks_.has_server())
      hooks_.send_chat_line(line.text);
    if (!queue_.empty() && !queue_.front().first) {
      timer_ = timers_.Start(kLinePauseMs, false, [this] {
        timer_ = 0;
        Pump();
      });
      break;
    }
  }
  pumping_ = false;
}

}  // namespace tellu
