// Reading the settings at start: launch mode reads the whole slot section,
// attach mode only the font and the search limit.
#pragma once
#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace tellu {

// The log-file prefix when LogName is empty: the program path less its
// extension and the last three characters of its base name
// ("C:\Tellu\tellu.exe" gives "C:\Tellu\te").
std::string DefaultLogName(std::string_view program_path);

// Reads every start-time key of the slot section in its fixed order, writing
// the default LogName back when it was empty.  Returns true when the bar must
// be resized to SizeTelluWindow (saved state restored and a size saved).  The
// caller then applies the font held in the settings.
bool ReadLaunchSettings(SettingsStore& store, std::string_view program_path);

// FontSort, FontSize and SearchTimer; everything else keeps its default.
void ReadAttachSettings(SettingsStore& store);

// Read only when the log window is reopened at start.
int ReadLogWindowReal(SettingsStore& store);

}  // namespace tellu
