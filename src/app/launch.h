// Launch mode's hold on the host's configuration file: the slot whose host is
// launched, the file backed up and its server entry pointed at "localhost"
// while the host starts, the host program started, and the file put back.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "app/config.h"
#include "app/fatal_report.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/ui.h"

namespace tellu {

// The program and parameter string to start for PROG: split at the first
// blank (unless the value starts with it), every "&" in either part replaced
// by the host program directory without its trailing backslash.  The
// arguments are the parameters split as a Windows command line before the
// replacement, so that a folder with a blank in it stays one argument.
struct ProgramToStart {
  std::string program;
  std::string params;
  std::vector<std::string> args;
};
ProgramToStart ProgramFromProg(std::string_view prog, std::string_view host_program_dir);

// host INI path less its last three bytes, plus "sav".
std::string BackupPath(std::string_view host_ini_path);

class HostLaunch {
 public:
  struct Ports {
    Profile& tellu_ini;
    Files& files;
    Registry& registry;
    Shell& shell;
    Ui& ui;
  };
  HostLaunch(Ports ports, std::string windows_dir, StartupHistory& history);

  // The slot to launch: the command-line slot alone, else the first of 1..8
  // whose host link is complete.  0 when there is none; when slot 1 names no
  // host configuration file the user has been told so and nothing further
  // is tried.
  int ChooseSlot(int command_line_slot);

  // For the chosen slot, once its settings are read: backup, patch to
  // "localhost", start PROG.  False when the host cannot be launched (the
  // history tells why); the host configuration is then left as it was.
  bool PatchAndStart();

  // Copies the backup back over the host configuration and deletes it.
  // Nothing without a backup; a backup that cannot be copied back is kept,
  // so the host's real entry is never lost.  True when the file was put back.
  bool Restore();
  // A backup waits to be copied back.
  bool Patched();

  int slot() const { return slot_; }
  const std::string& slot_section() const { return slot_section_; }
  const HostLink& link() const { return link_; }
  // Non-empty exactly in launch mode.
  const std::string& host_ini_path() const { return host_ini_path_; }
  const std::string& backup_path() const { return backup_path_; }
  // With a trailing backslash.
  const std::string& host_program_dir() const { return host_program_dir_; }
  // The host's server entry as it was before the patch.
  const std::string& server_host_name() const { return server_host_name_; }

 private:
  Ports p_;
  std::string windows_dir_;
  StartupHistory& history_;
  int slot_ = 0;
  std::string slot_section_;
  HostLink link_;
  std::string host_ini_path_;
  std::string backup_path_;
  std::string host_program_dir_;
  std::string server_host_name_;
};

// Shown when slot 1 names no host configuration file, and with the advice
// about the host folder.
inline constexpr std::string_view kLaunchCaption = "Tellu";
// History line when no backup of the host configuration can be made.
inline constexpr std::string_view kHistoryNoBackup = "cann't make backup :";

}  // namespace tellu
