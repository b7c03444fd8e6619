// The texts of the message table: key MSG of the slot section names the
// section whose TEXT1..TEXT16 hold "label=text" or a text that is its own label.
#pragma once
#include <string>

#include "settings/settings.h"
#include "settings/settings_store.h"

namespace tellu {

// "\n" becomes CR LF in place; the label ends at the first "=".
MessageEntry ParseMessageText(std::string value);

// Reads MSG and the sixteen texts into the settings; missing keys give empty entries.
void LoadMessageTable(SettingsStore& store);

}  // namespace tellu
