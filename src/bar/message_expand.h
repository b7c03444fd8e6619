// Expansion of a message-table entry into the text to deliver: "%s" takes the
// field, a whisper prefix leads every line, "%|" markers line up.
#pragma once
#include <string>
#include <string_view>

namespace tellu {

struct Expansion {
  std::string text;             // to hand to deliver text
  bool clears_field = false;    // the template used the field: empty the edit
};

// `field` is the bar's text field.  When it holds ":" after its first byte,
// everything up to that colon is a whisper prefix put before every line, and
// only the rest replaces "%s".
Expansion ExpandMessage(std::string_view message, std::string_view field);

}  // namespace tellu
