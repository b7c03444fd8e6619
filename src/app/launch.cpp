#include "app/launch.h"

#include <algorithm>

#include "app/host_dir.h"
#include "ini/ini_file.h"
#include "app/startup_texts.h"
#include "text/command_args.h"
#include "text/paths.h"

namespace tellu {
namespace {

constexpr size_t kServerNameBuffer = 128;
constexpr char kLocalhost[] = "localhost";

std::string ReplaceAmpersands(std::string_view text, std::string_view dir) {
  std::string out;
  for (char c : text) {
    if (c == '&')
      out += dir;
    else
      out += c;
  }
  return out;
}

}  // namespace

ProgramToStart ProgramFromProg(std::string_view prog, std::string_view host_program_dir) {
  const std::string dir = WithoutTrailingBackslash(host_program_dir);
  const size_t blank = prog.find(' ');
  if (blank == std::string_view::npos || blank == 0) return {ReplaceAmpersands(prog, dir), "", {}};
  const std::string_view params = prog.substr(blank + 1);
  std::vector<std::string> args = SplitCommandLine(params);
  for (std::string& arg : args) arg = ReplaceAmpersands(arg, dir);
  return {ReplaceAmpersands(prog.substr(0, blank), dir), ReplaceAmpersands(params, dir),
          std::move(args)};
}

std::string BackupPath(std::string_view host_ini_path) {
  const size_t keep = host_ini_path.size() - std::min<size_t>(3, host_ini_path.size());
  return std::string(host_ini_path.substr(0, keep)) + "sav";
}

HostLaunch::HostLaunch(Ports ports, std::string windows_dir, StartupHistory& history)
    : p_(ports), windows_dir_(std::move(windows_dir)), history_(history) {}

int HostLaunch::ChooseSlot(int command_line_slot) {
  const int first = command_line_slot != 0 ? command_line_slot : 1;
  const int last = command_line_slot != 0 ? command_line_slot : kSlotCount;
  for (int slot = first; slot <= last; ++slot) {
    slot_section_ = SlotName(slot);
    link_ = ReadHostLink(p_.tellu_ini, slot_section_);
    if (link_.ini_file.empty()) {
      if (slot == 1) {
        p_.ui.Notice(std::string(kNoTelluIni), std::string(kLaunchCaption),
                     NoticeIcon::Exclamation);
        return 0;
      }
      continue;
    }
    host_ini_path_ = HostIniPath(windows_dir_, link_.ini_file);
    history_.Record(kHistoryChecking, host_ini_path_);
    if (link_.Complete()) {
      slot_ = slot;
      history_.Record(kHistoryReading, host_ini_path_);
      return slot;
    }
  }
  return 0;
}

bool HostLaunch::PatchAndStart() {
  if (slot_ == 0) return false;
  backup_path_ = BackupPath(host_ini_path_);
  const std::string dir =
      HostProgramDir(p_.tellu_ini, p_.files, p_.registry, windows_dir_, slot_section_);
  if (dir.empty()) {
    p_.ui.Notice(HostDirAdvice(host_ini_path_, link_.pro_dir), std::string(kLaunchCaption),
                 NoticeIcon::Exclamation);
    history_.Record(kHistoryNoHostDir);
    return false;
  }
  host_program_dir_ = WithTrailingBackslash(dir);

  // A backup left by an earlier run is kept: it holds the host's real entry
  // while the file itself may still point at us.
  p_.files.Copy(host_ini_path_, backup_path_, true);
  if (!p_.files.Exists(backup_path_)) {
    // Patching without a backup would lose the server entry for good.
    history_.Record(kHistoryNoBackup, backup_path_);
    return false;
  }
  // Read from the backup, the file that will be put back: after a run that
  // could not restore, the host's own file says "localhost".
  IniFile backup(p_.files, backup_path_);
  server_host_name_ = backup.GetString(link_.chg_sec, link_.chg_key, "", kServerNameBuffer);
  IniFile host_ini(p_.files, host_ini_path_);
  host_ini.WriteString(link_.chg_sec, link_.chg_key, kLocalhost);

  const ProgramToStart start = ProgramFromProg(link_.prog, host_program_dir_);
  // The host is looked for afterwards whatever the shell says.
  p_.shell.StartWithArgs(start.program, start.params, start.args, host_program_dir_);
  history_.Record(kHistoryExecute, start.program);
  return true;
}

bool HostLaunch::Patched() { return !backup_path_.empty() && p_.files.Exists(backup_path_); }

bool HostLaunch::Restore() {
  if (!Patched()) return false;
  if (!p_.files.Copy(backup_path_, host_ini_path_, false)) return false;
  p_.files.Delete(backup_path_);
  return true;
}

}  // namespace tellu
