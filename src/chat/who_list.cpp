#include "chat/who_list.h"

namespace tellu {

namespace {
// "＞", the full-width greater-than sign.
constexpr std::string_view kAddressMark = "\x81\x84";
}  // namespace

std::vector<WhoEntry> WhoEntries(const ObjectTable& objects,
                                 const std::function<bool(const std::string&)>& is_muted) {
  std::vector<WhoEntry> out;
  for (int n = kFirstOther; n <= kLastObject; ++n) {
    const ObjectRecord& r = objects.Get(n);
    if (r.name.empty()) continue;
    out.push_back({WhoLine(r), r.name, MarkOf(r.pos).bitmap, is_muted && is_muted(r.name)});
  }
  return out;
}

std::string AddressedText(std::string_view field, std::string_view handle) {
  if (field.empty()) return std::string(handle) + ":";
  return std::string(field) + std::string(kAddressMark) + std::string(handle);
}

}  // namespace tellu
