// The mute list part of SettingsStore: MuteList in the file always equals the
// list in memory after a change.
#include <algorithm>

#include "settings/value_format.h"
#include "settings/keys.h"
#include "settings/settings_store.h"

namespace tellu {
namespace {

// Reading a value trims these from both of its ends, then takes off one pair
// of the same quote around it.  None of them can be the trail byte of a
// Shift-JIS character.
bool IsBlank(char c) { return (c >= '\t' && c <= '\r') || c == ' ' || c == '\x1a'; }
bool IsQuote(char c) { return c == '"' || c == '\''; }
bool CannotLead(const std::string& item) { return IsBlank(item.front()) || IsQuote(item.front()); }
bool CannotEnd(const std::string& item) { return IsBlank(item.back()) || IsQuote(item.back()); }

// An item the list can hold somewhere: "," separates items, and CR, LF and
// NUL would end or break the profile line.
bool IsListable(const std::string& handle) {
  return !handle.empty() && handle.find_first_of(std::string(",\r\n\0", 4)) == std::string::npos;
}

// Items that may not stand at an end go inside, where reading leaves them:
// one that may lead is put first and another that may end last, the rest
// keeping their order.
void KeepEndsClear(std::vector<std::string>& items) {
  const size_t n = items.size();
  if (n < 2 || (!CannotLead(items.front()) && !CannotEnd(items.back()))) return;
  for (size_t end = n; end-- > 0;) {
    if (CannotEnd(items[end])) continue;
    for (size_t lead = 0; lead < n; ++lead) {
      if (lead == end || CannotLead(items[lead])) continue;
      std::string first = items[lead], last = items[end];
      items.erase(items.begin() + std::max(lead, end));
      items.erase(items.begin() + std::min(lead, end));
      items.insert(items.begin(), std::move(first));
      items.push_back(std::move(last));
      return;
    }
  }
}

}  // namespace

bool SettingsStore::IsStorableHandle(const std::string& handle) {
  if (!IsListable(handle) || IsBlank(handle.front()) || IsBlank(handle.back())) return false;
  return handle.size() < 2 || !IsQuote(handle.front()) || handle.back() != handle.front();
}

bool SettingsStore::ListReadsBack(const std::vector<std::string>& items) {
  if (items.empty()) return true;
  const std::string value = JoinList(items);
  if (value.size() > kMaxStoredText || IsBlank(value.front()) || IsBlank(value.back())) return false;
  return value.size() < 2 || !IsQuote(value.front()) || value.back() != value.front();
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

bool SettingsStore::CanAppend(const std::string& handle) const {
  if (!IsStorableHandle(handle)) return false;
  std::vector<std::string> longer = settings_.mute_list;
  longer.push_back(handle);
  return ListReadsBack(longer);
}

MuteChange SettingsStore::AddMute(const std::string& handle) {
  if (!CanAppend(handle)) return MuteChange::Refused;
  settings_.mute_list.push_back(handle);
  SaveMuteList();
  return MuteChange::Muted;
}

void SettingsStore::MuteForTheRun(const std::string& handle) {
  if (std::find(run_mutes_.begin(), run_mutes_.end(), handle) != run_mutes_.end()) return;
  if (run_mutes_.size() >= kMaxRunMutes) run_mutes_.erase(run_mutes_.begin());
  run_mutes_.push_back(handle);
}

MuteChange SettingsStore::Mute(const std::string& handle) {
  if (CanAppend(handle)) return AddMute(handle);
  // Such a handle would come back as other handles (or none) at the next
  // start; muted in memory, its owner is still kept quiet for this run.
  MuteForTheRun(handle);
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
  for (const auto& handle : handles) (IsListable(handle) ? kept : refused).push_back(handle);
  KeepEndsClear(kept);
  while (!ListReadsBack(kept)) {
    // What cannot stand first goes when nothing else could; otherwise the
    // last item, which also brings the list back within its bound.
    const bool front = CannotLead(kept.front());
    refused.push_back(front ? kept.front() : kept.back());
    kept.erase(front ? kept.begin() : kept.end() - 1);
  }
  settings_.mute_list = std::move(kept);
  for (const auto& handle : refused)
    if (!handle.empty()) MuteForTheRun(handle);
  SaveMuteList();
  return refused;
}

}  // namespace tellu
