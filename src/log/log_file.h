// The chat log on disk: one file per start-up day, opened at the first line,
// framed by start and end banners.  Lines are flushed once per loop round (a
// timer of no delay), at close and when the object goes.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/timers.h"

namespace tellu {

// The program path with its extension replaced by ".HLP".
std::string HelpFilePath(const std::string& program_path);
// "%s%02d%02d%02d.txt" from the log name and the date.
std::string LogFilePath(const std::string& log_name, const LocalTime& date);

class LogFile {
 public:
  // `log_switch` is LogChk where the settings keep it, read at every line, so
  // that the file and the settings never disagree.  `open_failed` runs when
  // the file cannot be opened; it is to turn that switch off and forget
  // LogName.
  LogFile(Files& files, Timers& timers, const int& log_switch, std::function<void()> open_failed);
  ~LogFile();
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;

  // Fixes the path from today's date for the whole run.  `log_name` is
  // LogName as the settings store read it (its default already filled in).
  void Prepare(const std::string& log_name);

  // The settings changed: a log switched off is closed with its end banner;
  // a new name closes the file too, and the next line opens the new one
  // (same start-up date).
  void Follow(const std::string& log_name);

  // Lines are written only while the switch is 1.
  void WriteLine(const std::string& prefix, const std::string& text);
  // Writes the end banner when a file is open, and closes it.
  void Close();

  const std::string& path() const { return path_; }
  bool is_open() const { return file_ != nullptr; }

 private:
  void Write(const std::string& line);
  void Flush();
  std::string Banner(const char* word);

  Files& files_;
  Timers& timers_;
  const int& switch_;
  std::function<void()> open_failed_;
  std::string name_;
  LocalTime date_;
  std::string path_;
  std::unique_ptr<File> file_;
  std::string bytes_;  // kept to spare an allocation per line
  Timers::Id flush_timer_ = 0;
};

}  // namespace tellu
