// The log store: the last chat lines in memory, split into those a log window
// has taken in (shown) and those still waiting for it (pending).
#pragma once
#include <cstddef>
#include <deque>
#include <string>

namespace tellu {

struct LogEntry {
  std::string prefix;  // "<speaker>" or "{speaker -> addressee}"
  std::string text;
};

// A whisper's prefix starts with "{".
bool IsWhisperEntry(const LogEntry& entry);

class LogStore {
 public:
  static constexpr size_t kCapacity = 1024;

  // Replaces the entities in text, appends the entry to the pending list,
  // drops the oldest entries beyond the capacity and updates the fill.
  // Returns the entry as stored, for the log file.
  const LogEntry& Append(const std::string& prefix, const std::string& text);

  // Moves every pending entry to the end of the shown list.
  void TakePending();

  const std::deque<LogEntry>& shown() const { return shown_; }
  const std::deque<LogEntry>& pending() const { return pending_; }
  size_t size() const { return shown_.size() + pending_.size(); }
  // How full the store is, 0 to 100 percent.
  int fill() const { return fill_; }

 private:
  std::deque<LogEntry> shown_, pending_;
  int fill_ = 0;
};

// "&lt;" -> "<", then "&gt;" -> ">", in that order.
std::string ReplaceLogEntities(std::string text);

}  // namespace tellu
