#include "settings/startup.h"

#include <vector>

#include "settings/value_format.h"
#include "settings/keys.h"
#include "text/paths.h"
#include "text/sjis.h"

namespace tellu {
namespace {

void ReadFont(SettingsStore& store) {
  Settings& s = store.settings();
  s.font_face = store.ReadText(keys::kFontSort, kDefaultFontFace);
  s.font_tenths = FontTenths(store.ReadReal(keys::kFontSize));
}

}  // namespace

std::string DefaultLogName(std::string_view program_path) {
  std::vector<size_t> starts;
  const size_t base = FileNameStart(program_path);
  size_t dot = std::string_view::npos;
  for (size_t i = base; i < program_path.size(); i += text::CharSize(program_path, i)) {
    if (program_path[i] == '.') dot = i;
    starts.push_back(i);
  }
  size_t end = dot == std::string_view::npos ? program_path.size() : dot;
  // Character starts of the base name before the extension; never cut into
  // the folder, even for a name of fewer than three characters.
  size_t count = 0;
  while (count < starts.size() && starts[count] < end) ++count;
  size_t cut = count >= 3 ? starts[count - 3] : base;
  return std::string(program_path.substr(0, cut));
}

bool ReadLaunchSettings(SettingsStore& store, std::string_view program_path) {
  Settings& s = store.settings();
  s.whisper_sw = store.ReadInt(keys::kWhisperSw, 0);
  s.whisper_msg = store.ReadText(keys::kWhisperMsg);
  s.ava_req_refuse_flag = store.ReadInt(keys::kAvaReqRefuseFlag, 0);
  s.ava_req_refuse_msg = store.ReadText(keys::kAvaReqRefuseMsg);
  s.unmute = store.ReadText(keys::kUnMute);
  s.log_chk = store.ReadInt(keys::kLogChk, 0);
  s.log_name = store.ReadText(keys::kLogName);
  if (s.log_name.empty()) {
    s.log_name = DefaultLogName(program_path);
    store.WriteText(keys::kLogName, s.log_name);
  }
  ReadFont(store);
  s.search_timer = store.ReadInt(keys::kSearchTimer, 25);
  s.position_who_btn = store.ReadPoint(keys::kPositionWhoBtn);
  s.position_save_flag = store.ReadInt(keys::kPositionSaveFlag, 0);
  s.position_rv = store.ReadPoint(keys::kPositionRv);
  s.log_window_flag = store.ReadInt(keys::kLogWindowFlag, 0);
  s.position_log_window = store.ReadPoint(keys::kPositionLogWindow);
  s.size_log_window = store.ReadPoint(keys::kSizeLogWindow);
  s.position_tellu_window = store.ReadPoint(keys::kPositionTelluWindow);
  s.size_tellu_window = store.ReadPoint(keys::kSizeTelluWindow);
  // A negative size from a hand-edited file is no size to give a window.
  bool resize = s.position_save_flag == 1 && s.size_tellu_window.x > 0 &&
                s.size_tellu_window.y > 0;
  s.position_who_window = store.ReadPoint(keys::kPositionWhoWindow);
  s.who_window_flag = store.ReadInt(keys::kWhoWindowFlag, 0);
  s.most_top_chk = store.ReadInt(keys::kMostTopChk, 0);
  s.ime_auto_on_chk = store.ReadInt(keys::kImeAutoOnChk, 1);
  s.whisper_flash = store.ReadInt(keys::kWhisperFlash, 1);
  return resize;
}

void ReadAttachSettings(SettingsStore& store) {
  ReadFont(store);
  store.settings().search_timer = store.ReadInt(keys::kSearchTimer, 25);
}

int ReadLogWindowReal(SettingsStore& store) {
  int real = store.ReadInt(keys::kLogWindowReal, 0);
  store.settings().log_window_real = real;
  return real;
}

}  // namespace tellu
