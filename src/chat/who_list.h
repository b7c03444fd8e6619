// What the Real-time Who window shows and does, without the window: its lines
// in object order, the handle an entry stands for, and the text a double
// click leaves in the bar.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chat/objects.h"

namespace tellu {

struct WhoEntry {
  std::string text;  // WhoLine of the person
  int bitmap = kNoStatusBitmap;
  bool muted = false;

  bool operator==(const WhoEntry&) const = default;
};

// One entry for each named object 2..11, in ascending order.
std::vector<WhoEntry> WhoEntries(const ObjectTable& objects,
                                 const std::function<bool(const std::string&)>& is_muted);

// The entry's text up to its first blank; none when it has no blank or
// begins with one.
std::optional<std::string> EntryHandle(std::string_view text);

// The bar's text after a double click on `handle`: "handle:" for an empty
// field, else the field, "＞" and the handle.
std::string AddressedText(std::string_view field, std::string_view handle);

}  // namespace tellu
