#include "chat/who_list.h"

#include "text/sjis.h"

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
    out.push_back({WhoLine(r), MarkOf(r.pos).bitmap, is_muted && is_muted(r.name)});
  }
  return out;
}

std::optional<std::string> EntryHandle(std::string_view text) {
  const std::size_t blank = text::FindChar(text, ' ');
  // A leading blank leaves nothing to address.
  if (blank == std::string_view::npos || blank == 0) return std::nullopt;
  return std::string(text.substr(0, blank));
}

std::string AddressedText(std::string_view field, std::string_view handle) {
  if (field.empty()) return std::string(handle) + ":";
  return std::string(field) + std::string(kAddressMark) + std::string(handle);
}

}  // namespace tellu
