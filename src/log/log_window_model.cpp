#include "log/log_window_model.h"

#include <cstdio>

namespace tellu {

LogWindowModel::LogWindowModel(LogStore& store, std::string title_base)
    : store_(store), title_base_(std::move(title_base)) {}

std::string LogWindowModel::FullFill() {
  std::string all;
  auto add = [&](const LogEntry& entry) {
    if (Hidden(entry)) return;
    all += '\n';
    all += entry.prefix;
    all += ' ';
    all += entry.text;
  };
  for (const auto& entry : store_.shown()) add(entry);
  if (update_state_ != kFrozen) {
    // Filtered-out entries are taken in too: clearing the filter shows them.
    for (const auto& entry : store_.pending()) add(entry);
    store_.TakePending();
  }
  return all;
}

std::string LogWindowModel::SetWhispersOnly(bool on) {
  whispers_only_ = on;
  return FullFill();
}

LogUpdate LogWindowModel::Update() {
  LogUpdate update;
  if (update_state_ < 0 || store_.pending().empty()) return update;
  update.ran = true;
  if (update_state_ != kFrozen) {
    for (const auto& entry : store_.pending()) {
      if (Hidden(entry)) continue;
      update.segments.push_back({"\n" + entry.prefix + " ", kLogPrefixColour});
      update.segments.push_back(
          {entry.text, IsWhisperEntry(entry) ? kLogWhisperColour : kLogTextColour});
    }
    store_.TakePending();
  } else {
    // A frozen window refreshes its caption once, then waits for the button.
    update_state_ = kFrozenPainted;
  }
  return update;
}

LogUpdate LogWindowModel::ToggleFreeze() {
  if (update_state_ > 0) {
    update_state_ = kFrozen;
    return {};
  }
  update_state_ = kRealTime;
  return Update();
}

std::string LogWindowModel::Caption() const {
  char fill[32];
  std::snprintf(fill, sizeof fill, " (%3d%%)", store_.fill());
  return title_base_ + fill;
}

std::string LogWindowModel::ButtonText() const {
  return update_state_ > 0 ? "Freeze(&F)" : "Real(&R)";
}

Rgb LogWindowModel::Background() const {
  return update_state_ > 0 ? kLogRealTimeBackground : kLogFrozenBackground;
}

}  // namespace tellu
