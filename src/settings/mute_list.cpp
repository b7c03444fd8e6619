// The mute list part of SettingsStore: MuteList in the file always equals the
// list in memory after a change.
#include <algorithm>

#include "settings/encoding.h"
#include "settings/keys.h"
#include "settings/settings_store.h"

namespace tellu {

bool SettingsStore::IsStorableHandle(const std::string& handle) {
  // "," separates items; CR, LF and NUL would end or break the profile line;
  // blanks at the ends of the value are trimmed when it is read.  None of these
  // bytes can be the trail byte of a Shift-JIS character.
  if (handle.empty() || handle.find_first_of(std::string(",\r\n\0", 4)) != std::string::npos)
    return false;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  return !blank(handle.front()) && !blank(handle.back());
}

bool SettingsStore::IsMuted(const std::string& handle) const {
  const auto& list = settings_.mute_list;
  if (std::find(list.begin(), list.end(), handle) != list.end()) return true;
  return std::find(run_mutes_.begin(), run_mutes_.end(), handle) != run_mutes_.end();
}

void SettingsStore::LoadMuteList() {
  settings_.mute_list = SplitList(ReadText(keys::kMuteList));
}

void SettingsStore::SaveMuteList() {
  WriteText(keys::kMuteList, JoinList(settings_.mute_list));
  if (mute_list_saved_) mute_list_saved_();
}

MuteChange SettingsStore::AddMute(const std::string& handle) {
  if (!IsStorableHandle(handle)) return MuteChange::Refused;
  settings_.mute_list.push_back(handle);
  SaveMuteList();
  return MuteChange::Muted;
}

MuteChange SettingsStore::Mute(const std::string& handle) {
  if (IsStorableHandle(handle)) return AddMute(handle);
  // Such a handle would come back as other handles (or none) at the next
  // start; muted in memory, its owner is still kept quiet for this run.
  if (std::find(run_mutes_.begin(), run_mutes_.end(), handle) == run_mutes_.end()) {
    if (run_mutes_.size() >= kMaxRunMutes) run_mutes_.erase(run_mutes_.begin());
    run_mutes_.push_back(handle);
  }
  if (mute_list_saved_) mute_list_saved_();
  return MuteChange::MutedForTheRun;
}

MuteChange SettingsStore::ToggleMute(const std::string& handle) {
  if (auto run = std::find(run_mutes_.begin(), run_mutes_.end(), handle); run != run_mutes_.end()) {
    run_mutes_.erase(run);
    if (mute_list_saved_) mute_list_saved_();
    return MuteChange::Unmuted;
  }
  auto& list = settings_.mute_list;
  auto it = std::find(list.begin(), list.end(), handle);
  if (it == list.end()) return AddMute(handle);
  list.erase(it);
  SaveMuteList();
  return MuteChange::Unmuted;
}

std::vector<std::string> SettingsStore::ReplaceMuteList(const std::vector<std::string>& handles) {
  std::vector<std::string> kept, refused;
  for (const auto& handle : handles) (IsStorableHandle(handle) ? kept : refused).push_back(handle);
  settings_.mute_list = std::move(kept);
  SaveMuteList();
  return refused;
}

}  // namespace tellu
