// tellu-cli: Tellu's launch mode on a console.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "console/console_app.h"
#include "console/options.h"
#include "console/posix_console.h"
#include "text/sjis.h"

namespace {

std::string ProgramPath(const char* argv0) {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n > 0) return std::string(path, static_cast<size_t>(n));
  return argv0 ? argv0 : "tellu-cli";
}

}  // namespace

int main(int argc, char** argv) {
  // The program's text is Shift-JIS; a path that Shift-JIS cannot name
  // exactly would open some other file.
  std::vector<std::string> args;
  std::string error;
  for (int i = 1; i < argc; ++i) {
    const auto sjis = tellu::SjisPlace(argv[i]);
    if (!sjis) error = std::string(argv[i]) + ": has no Shift-JIS form";
    args.push_back(sjis.value_or(tellu::text::Utf8ToSjis(argv[i])));
  }
  const std::string program = ProgramPath(argc > 0 ? argv[0] : nullptr);
  const auto program_sjis = tellu::SjisPlace(program);
  if (!program_sjis) error = program + ": the program's path has no Shift-JIS form";
  auto options = tellu::ParseOptions(args, error);
  if (!error.empty()) options.reset();
  if (!options) {
    std::fprintf(stderr, "tellu-cli: %s\n%s", error.c_str(), tellu::kConsoleUsage);
    return 2;
  }
  if (options->help || options->version) {
    const std::string text = options->help ? tellu::ConsoleHelp() : tellu::ConsoleVersion();
    std::fputs(text.c_str(), stdout);
    return 0;
  }
  return tellu::RunConsole(*options, *program_sjis);
}
