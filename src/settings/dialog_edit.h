// The settings dialog's editing rules that need no window: the mute-list
// box's prefix search, the part of LogName the folder chooser keeps, and the
// values too long for tellu.ini to give back whole.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/dialog_ok.h"

namespace tellu {

// Index of the first item that begins with `typed`, single-byte letters
// compared without case; npos when none does or nothing is typed.
size_t FindByPrefix(const std::vector<std::string>& items, std::string_view typed);
// "追加" takes the typed handle only when the list can store it and no item
// begins with it.
bool CanAddMute(const std::vector<std::string>& items, std::string_view typed);

// LogName as the folder chooser sees it: the last three characters (a
// double-byte character is one) are kept, the rest is where it starts.
struct LogNameSplit {
  std::string folder;
  std::string tail;
};
LogNameSplit SplitLogName(std::string_view log_name);

// The key of the first value the file could not give back whole, or nullptr.
// The greeting is not stored, but is held to the same bound.
const char* OverlongKey(const DialogSettings& dialog);

}  // namespace tellu
