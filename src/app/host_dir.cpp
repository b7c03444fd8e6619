#include "app/host_dir.h"

#include "app/config.h"
#include "ini/ini_file.h"

namespace tellu {
namespace {

constexpr size_t kPathBuffer = 260;

}  // namespace

std::string HostProgramDir(Profile& tellu_ini, Files& files, Registry& registry,
                           const std::string& windows_dir, const std::string& slot_section) {
  HostLink link = ReadHostLink(tellu_ini, slot_section);
  IniFile host_ini(files, HostIniPath(windows_dir, link.ini_file));
  std::string dir = host_ini.GetString(link.chg_sec, link.pro_dir, "", kPathBuffer);
  if (!dir.empty()) return dir;
  // A registry value that does not fit the buffer is a failed read.
  dir = registry.ReadLocalMachine(link.reg_dir, "Path");
  return dir.size() < kPathBuffer ? dir : std::string();
}

}  // namespace tellu
