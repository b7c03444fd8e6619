#include "settings/dialog_ok.h"

#include <algorithm>

#include "settings/keys.h"

namespace tellu {
namespace {

// Takes one occurrence of the handle out; false when there is none.
bool TakeOne(std::vector<std::string>& items, const std::string& handle) {
  const auto at = std::find(items.begin(), items.end(), handle);
  if (at == items.end()) return false;
  items.erase(at);
  return true;
}

// Flags the program takes as on for any value but 0 are shown ticked for
// any such value, so an OK with nothing touched leaves them on.
int On(int value) { return value != 0 ? 1 : 0; }

}  // namespace

std::vector<std::string> MergedMuteList(const std::vector<std::string>& opened,
                                        const std::vector<std::string>& box,
                                        const std::vector<std::string>& now) {
  std::vector<std::string> not_in_box = opened, left = now, merged;
  for (const std::string& handle : box) {
    const bool had = TakeOne(not_in_box, handle);
    // One of the dialog's own items unmuted meanwhile stays unmuted.
    if (TakeOne(left, handle) || !had) merged.push_back(handle);
  }
  for (const std::string& deleted : not_in_box) TakeOne(left, deleted);
  merged.insert(merged.end(), left.begin(), left.end());
  return merged;
}

DialogSettings DialogCopy(const Settings& s) {
  DialogSettings d;
  d.whisper_sw = On(s.whisper_sw);
  d.whisper_msg = s.whisper_msg;
  d.greeting = s.greeting;
  d.ava_req_refuse_flag = On(s.ava_req_refuse_flag);
  d.ava_req_refuse_msg = s.ava_req_refuse_msg;
  d.position_save_flag = s.position_save_flag;
  d.most_top_chk = On(s.most_top_chk);
  d.ime_auto_on_chk = On(s.ime_auto_on_chk);
  d.log_chk = s.log_chk;
  d.font_face = s.font_face;
  d.font_tenths = s.font_tenths;
  d.mute_list = s.mute_list;
  d.opened_mute_list = s.mute_list;
  return d;
}

DialogOkResult ApplySettingsDialog(SettingsStore& store, const DialogSettings& d) {
  Settings& s = store.settings();
  s.whisper_sw = d.whisper_sw;
  s.whisper_msg = d.whisper_msg;
  s.greeting = d.greeting;
  s.ava_req_refuse_flag = d.ava_req_refuse_flag;
  s.ava_req_refuse_msg = d.ava_req_refuse_msg;
  s.position_save_flag = d.position_save_flag;
  s.most_top_chk = d.most_top_chk;
  s.ime_auto_on_chk = d.ime_auto_on_chk;
  s.log_chk = d.log_chk;

  store.WriteInt(keys::kWhisperSw, s.whisper_sw);
  store.WriteText(keys::kWhisperMsg, s.whisper_msg);
  store.WriteInt(keys::kPositionSaveFlag, s.position_save_flag);
  store.WriteInt(keys::kAvaReqRefuseFlag, s.ava_req_refuse_flag);
  store.WriteText(keys::kAvaReqRefuseMsg, s.ava_req_refuse_msg);
  store.WriteInt(keys::kMostTopChk, s.most_top_chk);
  store.WriteInt(keys::kImeAutoOnChk, s.ime_auto_on_chk);
  store.WriteInt(keys::kLogChk, s.log_chk);

  DialogOkResult result;
  if (d.font_tenths != s.font_tenths || d.font_face != s.font_face) {
    s.font_face = d.font_face;
    s.font_tenths = d.font_tenths;
    store.WriteReal(keys::kFontSize, d.font_tenths / 10.0);
    store.WriteText(keys::kFontSort, d.font_face);
    result.font_changed = true;
  }
  if (!d.log_folder.empty()) {
    s.log_name = d.log_folder;
    store.WriteText(keys::kLogName, s.log_name);
  }
  result.refused_handles =
      store.ReplaceMuteList(MergedMuteList(d.opened_mute_list, d.mute_list, s.mute_list));
  return result;
}

}  // namespace tellu
