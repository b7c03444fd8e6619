#include "gui/help.h"

#include "text/paths.h"

namespace tellu {

std::string HelpDocument(Files& files, const std::string& program_path) {
  const std::string_view name = FileNamePart(program_path);
  const std::string dir = program_path.substr(0, program_path.size() - name.size());
  const size_t dot = name.rfind('.');
  const std::string hlp =
      dir + std::string(name.substr(0, dot == std::string_view::npos ? name.size() : dot)) + ".HLP";
  if (files.Exists(hlp)) return hlp;
  return dir + kHelpPage;
}

}  // namespace tellu
