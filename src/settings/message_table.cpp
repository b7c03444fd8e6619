#include "settings/message_table.h"

#include "settings/keys.h"
#include "text/sjis.h"

namespace tellu {

MessageEntry ParseMessageText(std::string value) {
  // Character by character: a double-byte character may end in the byte "\".
  for (size_t i = 0; i < value.size(); i += text::CharSize(value, i)) {
    if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == 'n') {
      value[i] = '\r';
      value[i + 1] = '\n';
    }
  }
  size_t eq = value.find('=');  // "=" is never a trail byte
  if (eq == std::string::npos) return {value, value};
  return {value.substr(0, eq), value.substr(eq + 1)};
}

void LoadMessageTable(SettingsStore& store) {
  Settings& s = store.settings();
  s.msg = store.ReadText(keys::kMsg);
  for (int n = 0; n < kMessageCount; ++n) {
    // Without MSG there is no message section: the table stays blank.
    std::string value;
    if (!s.msg.empty()) {
      value = store.profile().GetString(s.msg, keys::kTextPrefix + std::to_string(n + 1), "");
    }
    s.messages[n] = ParseMessageText(std::move(value));
  }
}

}  // namespace tellu
