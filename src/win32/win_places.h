// Where tellu-cli finds things on Windows: the Windows directory, its own
// path, and tellu.ini; every path as the program's text (Shift-JIS).
#pragma once
#include <string>

#include "platform/files.h"

namespace tellu {

std::string WindowsDirectory();
std::string ProgramPath();

// TELLU.INI in the Windows directory when it is there (names are not case
// sensitive on Windows), else tellu.ini beside the program.
std::string WinProfilePath(Files& files, const std::string& windows_dir,
                           const std::string& program_path);

}  // namespace tellu
