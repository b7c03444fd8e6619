// The log window's data side, drawing-free: full-fill text, coloured update
// pieces, frozen/real-time state and caption, for a dialog or a console.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "log/log_store.h"

namespace tellu {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kLogPrefixColour{0, 0, 255};
inline constexpr Rgb kLogWhisperColour{255, 0, 0};
inline constexpr Rgb kLogTextColour{0, 0, 0};
inline constexpr Rgb kLogRealTimeBackground{255, 255, 255};
inline constexpr Rgb kLogFrozenBackground{0, 255, 255};

// A piece of text to append to the view in one colour.
struct LogSegment {
  std::string text;
  Rgb colour;
  friend bool operator==(const LogSegment&, const LogSegment&) = default;
};

// The result of an incremental update.  When `ran` is false the paint found
// nothing to do and the caption stays as it is.
struct LogUpdate {
  bool ran = false;
  std::vector<LogSegment> segments;
};

class LogWindowModel {
 public:
  // Update state values.
  static constexpr int kRealTime = 1;
  static constexpr int kFrozen = 0;
  static constexpr int kFrozenPainted = -1;

  // A new window always starts real-time, whatever mode was saved.
  explicit LogWindowModel(LogStore& store, std::string title_base = "LogDisplay");

  // The whole view text, all in black: the shown list and, unless frozen,
  // the pending list, which is taken into the shown list.
  std::string FullFill();
  // The check box changed: a full fill follows.
  std::string SetWhispersOnly(bool on);
  // The paint handler's catch-up with the pending list.
  LogUpdate Update();
  // The Freeze/Real button.  Going real-time catches up at once.
  LogUpdate ToggleFreeze();

  // The dispatcher asks for a refresh only while this is true.
  bool wants_refresh() const { return update_state_ > 0; }
  int update_state() const { return update_state_; }
  bool whispers_only() const { return whispers_only_; }
  std::string Caption() const;
  // "Freeze(&F)" while real-time, "Real(&R)" while frozen.
  std::string ButtonText() const;
  Rgb Background() const;

 private:
  bool Hidden(const LogEntry& entry) const { return whispers_only_ && !IsWhisperEntry(entry); }

  LogStore& store_;
  std::string title_base_;
  int update_state_ = kRealTime;
  bool whispers_only_ = false;
};

}  // namespace tellu
