#include "settings/dialog_edit.h"

#include "settings/value_format.h"
#include "settings/keys.h"
#include "text/sjis.h"

namespace tellu {
namespace {

char Folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Steps by characters, so that a trail byte is never folded as a letter.
bool BeginsWith(std::string_view item, std::string_view prefix) {
  size_t i = 0;
  while (i < prefix.size()) {
    const size_t size = text::CharSize(prefix, i);
    if (i + size > item.size() || text::CharSize(item, i) != size) return false;
    if (size == 1 ? Folded(item[i]) != Folded(prefix[i]) : item.substr(i, 2) != prefix.substr(i, 2))
      return false;
    i += size;
  }
  return true;
}

}  // namespace

size_t FindByPrefix(const std::vector<std::string>& items, std::string_view typed) {
  if (typed.empty()) return std::string::npos;
  for (size_t i = 0; i < items.size(); ++i)
    if (BeginsWith(items[i], typed)) return i;
  return std::string::npos;
}

bool CanAddMute(const std::vector<std::string>& items, std::string_view typed) {
  return SettingsStore::IsStorableHandle(std::string(typed)) &&
         FindByPrefix(items, typed) == std::string::npos;
}

LogNameSplit SplitLogName(std::string_view log_name) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < log_name.size(); i += text::CharSize(log_name, i)) starts.push_back(i);
  const size_t cut = starts.size() > 3 ? starts[starts.size() - 3] : 0;
  return {std::string(log_name.substr(0, cut)), std::string(log_name.substr(cut))};
}

const char* OverlongKey(const DialogSettings& d) {
  const struct {
    const char* key;
    size_t size;
  } values[] = {
      {keys::kWhisperMsg, d.whisper_msg.size()},
      {"greeting partner", d.greeting.partner.size()},
      {"greeting text", d.greeting.text.size()},
      {keys::kAvaReqRefuseMsg, d.ava_req_refuse_msg.size()},
      {keys::kLogName, d.log_folder.size()},
      {keys::kMuteList, JoinList(d.mute_list).size()},
  };
  for (const auto& v : values)
    if (v.size > kMaxStoredText) return v.key;
  return nullptr;
}

}  // namespace tellu
