#include "app/fatal_report.h"

namespace tellu {

std::string FatalReport(std::string_view text, const StartupHistory& history) {
  std::string report = "*** ";
  report += text;
  report += " ***\r\n[history]\r\n";
  for (const std::string& line : history.lines()) {
    report += line;
    report += "\r\n";
  }
  return report;
}

}  // namespace tellu
