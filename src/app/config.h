// tellu.ini: where it lives, its SYSTEM section, and the host-link keys of
// the slot sections (one slot per host installation the user has set up).
#pragma once
#include <string>

#include "platform/files.h"
#include "platform/profile.h"
#include "relay/protocol.h"

namespace tellu {

inline constexpr int kSlotCount = 8;
inline constexpr char kSystemSection[] = "SYSTEM";

// The program's base name + ".INI" in the Windows folder when that file
// exists there, else the program's path with its last three characters
// (the extension) replaced by "ini".  Decided once at start-up.
std::string LocateProfileFile(Files& files, const std::string& windows_dir,
                              const std::string& program_path);

// "SYS" + n: the slot's key in SYSTEM and the name of the slot's section.
std::string SlotName(int slot);

int ListenPort(Profile& profile);  // RN: the port the host connects to
int ServerPort(Profile& profile);  // SN: the chat server's port
// The slot's host title template; empty when the slot cannot be attached to.
std::string TitleTemplate(Profile& profile, int slot);

// The keys of a slot section that tie it to one host installation.
struct HostLink {
  std::string ini_file;  // INIFILE: host configuration file, in the Windows folder
  std::string pro_dir;   // PRODIR: key of the install folder in that file
  std::string chg_sec;   // CHGSEC: section of the server entry
  std::string chg_key;   // CHGKEY: key of the server entry
  std::string prog;      // PROG: program and parameters to launch
  std::string reg_dir;   // REGDIR: registry key whose "Path" is the install folder

  // Enough to launch the host and patch its server entry.
  bool Complete() const {
    return !ini_file.empty() && !chg_sec.empty() && !chg_key.empty() && !prog.empty();
  }
};

HostLink ReadHostLink(Profile& profile, const std::string& slot_section);

// The host configuration file's full path: Windows folder + "\" + INIFILE.
std::string HostIniPath(const std::string& windows_dir, const std::string& ini_file);

}  // namespace tellu
