// tellu-cli: Tellu's launch mode on a console.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "console/console_app.h"
#include "console/options.h"

namespace {

std::string ProgramPath(const char* argv0) {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n > 0) return std::string(path, static_cast<size_t>(n));
  return argv0 ? argv0 : "tellu-cli";
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = tellu::ParseOptions(args, error);
  if (!options) {
    std::fprintf(stderr, "tellu-cli: %s\n%s", error.c_str(), tellu::kConsoleUsage);
    return 2;
  }
  if (options->help) {
    std::fputs(tellu::kConsoleUsage, stdout);
    return 0;
  }
  return tellu::RunConsole(*options, ProgramPath(argc > 0 ? argv[0] : nullptr));
}
