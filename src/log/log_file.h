// The chat log on disk: one file per start-up day, opened at the first line,
// framed by start and end banners.  Lines are flushed once per loop round (a
// timer of no delay), at close and when the object goes.
#pragma once
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/timers.h"

namespace tellu {

class Profile;

// The program path with its extension replaced by ".HLP".
std::string HelpFilePath(const std::string& program_path);
// "%s%02d%02d%02d.txt" from the log name and the date.
std::string LogFilePath(const std::string& log_name, const LocalTime& date);

class LogFile {
 public:
  // `section` is the slot section that holds LogName.
  LogFile(Files& files, Timers& timers, Profile& profile, std::string section);
  ~LogFile();
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;

  // Fixes the path from today's date for the whole run.  `log_name` is
  // LogName as the settings store read it (its default already filled in).
  void Prepare(const std::string& log_name);

  // LogChk: lines are written only while it is 1.
  void set_switch(int log_chk) { switch_ = log_chk; }
  int log_switch() const { return switch_; }

  void WriteLine(const std::string& prefix, const std::string& text);
  // Writes the end banner when the file was ever opened this run.
  void Close();

  const std::string& path() const { return path_; }
  bool is_open() const { return file_ != nullptr; }

 private:
  void Write(const std::string& line);
  void Flush();
  std::string Banner(const char* word);

  Files& files_;
  Timers& timers_;
  Profile& profile_;
  std::string section_;
  std::string path_;
  int switch_ = 0;
  std::unique_ptr<File> file_;
  std::string bytes_;  // kept to spare an allocation per line
  Timers::Id flush_timer_ = 0;
};

}  // namespace tellu
