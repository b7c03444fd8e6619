#include "app/config.h"

#include <algorithm>

#include "text/paths.h"

namespace tellu {

std::string LocateProfileFile(Files& files, const std::string& windows_dir,
                              const std::string& program_path) {
  std::string_view base = FileNamePart(program_path);
  base = base.substr(0, base.rfind('.'));
  std::string in_windows = JoinPath(windows_dir, std::string(base) + ".INI");
  if (files.Exists(in_windows)) return in_windows;
  size_t keep = program_path.size() - std::min<size_t>(3, program_path.size());
  return program_path.substr(0, keep) + "ini";
}

std::string SlotName(int slot) { return "SYS" + std::to_string(slot); }

int ListenPort(Profile& profile) { return profile.GetInt(kSystemSection, "RN", kDefaultPort); }

int ServerPort(Profile& profile) { return profile.GetInt(kSystemSection, "SN", kDefaultPort); }

std::string TitleTemplate(Profile& profile, int slot) {
  return profile.GetString(kSystemSection, SlotName(slot), "");
}

HostLink ReadHostLink(Profile& profile, const std::string& slot_section) {
  HostLink link;
  link.ini_file = profile.GetString(slot_section, "INIFILE", "");
  link.pro_dir = profile.GetString(slot_section, "PRODIR", "");
  link.chg_sec = profile.GetString(slot_section, "CHGSEC", "");
  link.chg_key = profile.GetString(slot_section, "CHGKEY", "");
  link.prog = profile.GetString(slot_section, "PROG", "");
  link.reg_dir = profile.GetString(slot_section, "REGDIR", "");
  return link;
}

std::string HostIniPath(const std::string& windows_dir, const std::string& ini_file) {
  return JoinPath(windows_dir, ini_file);
}

}  // namespace tellu
