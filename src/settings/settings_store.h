// SettingsStore: the Settings record of the slot in use and its keys in
// tellu.ini.  Every write goes to the profile at once.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "settings/settings.h"

namespace tellu {

// A text value comes back from the file cut to this many bytes.
inline constexpr std::size_t kMaxStoredText = 4095;

// MutedForTheRun: the handle cannot be stored, so it is muted in memory only.
enum class MuteChange { Muted, Unmuted, Refused, MutedForTheRun };

class SettingsStore {
 public:
  SettingsStore(Profile& profile, std::string slot_section);

  Settings& settings() { return settings_; }
  const Settings& settings() const { return settings_; }
  const std::string& section() const { return settings_.slot_section; }
  Profile& profile() { return profile_; }

  // Keys of the slot section in their encodings.
  int ReadInt(const std::string& key, int default_value);
  std::string ReadText(const std::string& key, const std::string& default_value = "");
  Pair ReadPoint(const std::string& key);
  double ReadReal(const std::string& key);
  void WriteInt(const std::string& key, int value);
  void WriteText(const std::string& key, const std::string& value);
  void WritePoint(const std::string& key, int x, int y);
  void WriteReal(const std::string& key, double value);

  // The mute list.  A handle is storable when it survives a write and a read
  // of MuteList unchanged wherever it stands: not empty, no "," or line
  // break, no blank at either end, not inside a pair of the same quote.
  static bool IsStorableHandle(const std::string& handle);
  // Whether MuteList written from these items reads back as them: it fits
  // the file's bound, and no blank or quote stands at an end of the whole
  // value, where reading would take it away.
  static bool ListReadsBack(const std::vector<std::string>& items);
  // In the list, or muted for this run only.
  bool IsMuted(const std::string& handle) const;
  void LoadMuteList();
  // Writes MuteList, then tells an open Who window to redraw.
  void SaveMuteList();
  // Appends the handle and saves; Refused (nothing written) when it is not storable.
  MuteChange AddMute(const std::string& handle);
  // AddMute, except that a handle the list cannot store, or one that would
  // take it past the file's bound, is muted for this run only (at most
  // kMaxRunMutes of them, the oldest giving way).
  MuteChange Mute(const std::string& handle);
  // Removes the first occurrence if muted, otherwise appends; then saves.  A
  // handle muted for the run only is let go without a save.
  MuteChange ToggleMute(const std::string& handle);
  static constexpr std::size_t kMaxRunMutes = 32;
  const std::vector<std::string>& run_mutes() const { return run_mutes_; }
  // Replaces the list by the handles, in order, and saves.  An item that
  // cannot stand at an end of the value is moved inside; what the list still
  // cannot hold is muted for the run only and returned.
  std::vector<std::string> ReplaceMuteList(const std::vector<std::string>& handles);
  // Called after every save of the mute list; the Who window sets it while open.
  void SetMuteListSaved(std::function<void()> callback) { mute_list_saved_ = std::move(callback); }

  // The log file could not be opened: logging stops for this run and the next
  // start computes the default LogName again.
  void ForgetLogName();

 private:
  Profile& profile_;
  Settings settings_;
  std::function<void()> mute_list_saved_;
  std::vector<std::string> run_mutes_;
  bool CanAppend(const std::string& handle) const;
  void MuteForTheRun(const std::string& handle);
};

}  // namespace tellu
