// The start-up history and the report of a fatal start-up error, which shows
// the user every configuration file and program that was tried.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tellu {

// Fatal start-up errors.
inline constexpr std::string_view kFatalLaunchFailed = "try to run RV/K but failed!";
inline constexpr std::string_view kFatalHostNotFound = "let RV/K run but cann't find!";
inline constexpr std::string_view kFatalHostLost = "cann't find RV/K";

// Lines recorded during start-up, oldest first.
class StartupHistory {
 public:
  void Record(std::string_view line) { lines_.emplace_back(line); }
  void Record(std::string_view head, std::string_view tail) {
    lines_.push_back(std::string(head) + std::string(tail));
  }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// "*** text ***", then "[history]" and every history line, each ending in
// CR LF.  Shown with the caption "Tellu" and the stop icon.
std::string FatalReport(std::string_view text, const StartupHistory& history);

inline constexpr std::string_view kFatalCaption = "Tellu";

}  // namespace tellu
