#include "settings/dialog_ok.h"

#include "settings/keys.h"

namespace tellu {

DialogSettings DialogCopy(const Settings& s) {
  DialogSettings d;
  d.whisper_sw = s.whisper_sw;
  d.whisper_msg = s.whisper_msg;
  d.greeting = s.greeting;
  d.ava_req_refuse_flag = s.ava_req_refuse_flag;
  d.ava_req_refuse_msg = s.ava_req_refuse_msg;
  d.position_save_flag = s.position_save_flag;
  d.most_top_chk = s.most_top_chk;
  d.ime_auto_on_chk = s.ime_auto_on_chk;
  d.log_chk = s.log_chk;
  d.font_face = s.font_face;
  d.font_tenths = s.font_tenths;
  d.mute_list = s.mute_list;
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
  result.refused_handles = store.ReplaceMuteList(d.mute_list);
  return result;
}

}  // namespace tellu
