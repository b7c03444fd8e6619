// Expansion of a message-table entry into the text to deliver: "%s" takes the
// field, a whisper prefix leads every line, "%|" markers line up.
#pragma once
#include <string>
#include <string_view>

namespace tellu {

struct Expansion {
  std::string text;   // to hand to deliver text
  // The text field afterwards: the rest after a whisper prefix, nothing once
  // a "%s" took it; all of it, untouched, when there is no text to send.
  std::string field;
  // The edit shows the field again only when nothing is left of it, so a
  // fixed text leaves a typed line (prefix and all) where it was.
  bool clears_field() const { return field.empty(); }
};

// `field` is the bar's text field.  When it holds ":" after its first byte,
// everything up to that colon is a whisper prefix put before every line, and
// only the rest replaces "%s".
Expansion ExpandMessage(std::string_view message, std::string_view field);

}  // namespace tellu
