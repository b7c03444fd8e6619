// What the Real-time Who window shows and does, without the window: its lines
// in object order, each with the name it stands for, and the text a double
// click leaves in the bar.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "chat/objects.h"

namespace tellu {

struct WhoEntry {
  std::string text;  // WhoLine of the person
  // The whole name, what a right click mutes and a double click addresses:
  // the line may show only the start of it.
  std::string name;
  int bitmap = kNoStatusBitmap;
  bool muted = false;

  bool operator==(const WhoEntry&) const = default;
};

// One entry for each named object 2..11, in ascending order.
std::vector<WhoEntry> WhoEntries(const ObjectTable& objects,
                                 const std::function<bool(const std::string&)>& is_muted);

// The bar's text after a double click on `handle`: "handle:" for an empty
// field, else the field, "＞" and the handle.
std::string AddressedText(std::string_view field, std::string_view handle);

}  // namespace tellu
