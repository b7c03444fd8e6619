// The settings dialog's copy of the settings, and what its OK takes over and
// writes.
#pragma once
#include <string>
#include <vector>

#include "settings/settings.h"
#include "settings/settings_store.h"

namespace tellu {

struct DialogSettings {
  int whisper_sw = 0;
  std::string whisper_msg;
  Greeting greeting;
  int ava_req_refuse_flag = 0;
  std::string ava_req_refuse_msg;
  int position_save_flag = 0;
  int most_top_chk = 0;
  int ime_auto_on_chk = 1;
  int log_chk = 0;
  std::string font_face;
  int font_tenths = 0;
  std::string log_folder;               // a LogName candidate; empty until chosen
  std::vector<std::string> mute_list;   // the list box's items in their order
  std::vector<std::string> opened_mute_list;  // the list as the dialog found it
};

struct DialogOkResult {
  bool font_changed = false;               // the caller applies the new font
  std::vector<std::string> refused_handles;  // left out of the mute list
};

// The copy a newly opened dialog starts from.
DialogSettings DialogCopy(const Settings& settings);

// The dialog's additions and deletions (its items against the list it
// opened with) applied to the list as it is now, so that a mute made while
// the dialog was open survives its OK: the box's items in their order, then
// the handles muted meanwhile.
std::vector<std::string> MergedMuteList(const std::vector<std::string>& opened,
                                        const std::vector<std::string>& box,
                                        const std::vector<std::string>& now);

// Takes the dialog's values over, then writes them in their fixed order;
// the font only when it changed, LogName only when a folder was chosen, the
// mute list last.
DialogOkResult ApplySettingsDialog(SettingsStore& store, const DialogSettings& dialog);

}  // namespace tellu
