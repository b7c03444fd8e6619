#include "log/log_file.h"

#include <cstdio>

#include "text/paths.h"

namespace tellu {

std::string HelpFilePath(const std::string& program_path) {
  const size_t dot = program_path.rfind('.');
  if (dot == std::string::npos || dot < FileNameStart(program_path)) return program_path + ".HLP";
  return program_path.substr(0, dot) + ".HLP";
}

std::string LogFilePath(const std::string& log_name, const LocalTime& date) {
  char tail[64];
  std::snprintf(tail, sizeof tail, "%02d%02d%02d.txt", date.year % 100, date.month, date.day);
  return log_name + tail;
}

LogFile::LogFile(Files& files, Timers& timers, const int& log_switch,
                 std::function<void()> open_failed)
    : files_(files), timers_(timers), switch_(log_switch), open_failed_(std::move(open_failed)) {}

LogFile::~LogFile() { Flush(); }

void LogFile::Prepare(const std::string& log_name) {
  name_ = log_name;
  date_ = timers_.Now();
  path_ = LogFilePath(name_, date_);
}

void LogFile::Follow(const std::string& log_name) {
  const bool moved = log_name != name_;
  if (switch_ != 1 || moved) Close();
  if (!moved) return;
  name_ = log_name;
  path_ = LogFilePath(name_, date_);
}

std::string LogFile::Banner(const char* word) {
  const LocalTime t = timers_.Now();
  char line[128];
  std::snprintf(line, sizeof line, "++++++++ %s %04d/%02d/%02d %02d:%02d:%02d ++++++++\n", word,
                t.year, t.month, t.day, t.hour, t.minute, t.second);
  return line;
}

// The file is written in binary; this is the text-mode translation, so every
// system gets the CR LF files that the Windows program writes.
void LogFile::Write(const std::string& line) {
  bytes_.clear();
  for (char c : line) {
    if (c == '\n') bytes_ += '\r';
    bytes_ += c;
  }
  // Write errors after opening are ignored: the chat goes on without its log.
  file_->Write(bytes_);
  // A busy round writes many lines: one flush for all of them.
  if (flush_timer_) return;
  flush_timer_ = timers_.Start(0, false, [this] {
    flush_timer_ = 0;
    Flush();
  });
  if (!flush_timer_) file_->Flush();  // no timer to wait for
}

void LogFile::Flush() {
  if (flush_timer_) timers_.Cancel(flush_timer_);
  flush_timer_ = 0;
  if (file_) file_->Flush();
}

void LogFile::WriteLine(const std::string& prefix, const std::string& text) {
  if (switch_ != 1) return;
  if (!file_) {
    file_ = files_.Open(path_, OpenMode::Append);
    if (!file_) {
      // Off for this run; the cleared name makes the next start use the default.
      if (open_failed_) open_failed_();
      return;
    }
    Write(Banner("Start"));
  }
  Write(prefix + " " + text + "\n");
}

void LogFile::Close() {
  if (!file_) return;
  Write(Banner("End  "));
  Flush();
  file_.reset();
}

}  // namespace tellu
