// Scans arbitrary bytes for addresses: every candidate lies inside the text,
// after the previous one, is made of address characters only and starts with
// an alphanumeric.  A click anywhere yields an address that stands in the text
// over the clicked place, and what would be opened is that address behind
// nothing or one of the two prefixes, and never other than a web page or a
// mail.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "log/find_address.h"

using namespace tellu;

namespace {

bool BeginsLower(std::string_view s, std::string_view lower) {
  if (s.size() < lower.size()) return false;
  for (size_t i = 0; i < lower.size(); ++i) {
    const char c = s[i] >= 'A' && s[i] <= 'Z' ? static_cast<char>(s[i] - 'A' + 'a') : s[i];
    if (c != lower[i]) return false;
  }
  return true;
}

// Whether `address` stands in `text` at a place that covers `offset`.
bool Covers(const std::string& text, const std::string& address, size_t offset) {
  if (address.empty() || offset >= text.size()) return false;
  const size_t first = offset + 1 >= address.size() ? offset + 1 - address.size() : 0;
  for (size_t at = first; at <= offset; ++at)
    if (text.compare(at, address.size(), address) == 0) return true;
  return false;
}

void CheckOpened(const std::string& address, const std::string& open) {
  const bool web = BeginsLower(open, "http://") || BeginsLower(open, "https://");
  if (!web && !BeginsLower(open, "mailto:")) __builtin_trap();
  if (open.size() < address.size() ||
      open.compare(open.size() - address.size(), std::string::npos, address) != 0)
    __builtin_trap();
  const size_t added = open.size() - address.size();
  if (added != 0 && added != 7) __builtin_trap();
  // A prefix goes only before an address that lacked one: as written it
  // would not have begun with a web scheme.
  if (added == 7 && (BeginsLower(address, "http://") || BeginsLower(address, "https://")))
    __builtin_trap();
  if (added == 0 && address.find('@') == std::string::npos && !web) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  size_t from = 0;
  while (std::optional<AddressSpan> found = FindAddress(text, from)) {
    if (found->start < from || found->length == 0) __builtin_trap();
    if (found->start + found->length > text.size()) __builtin_trap();
    if (!IsAddressAlnum(static_cast<unsigned char>(text[found->start]))) __builtin_trap();
    for (size_t i = found->start; i < found->start + found->length; ++i) {
      if (!IsAddressChar(static_cast<unsigned char>(text[i]))) __builtin_trap();
    }
    const std::string address = text.substr(found->start, found->length);
    CheckOpened(address, AddressToOpen(address));
    from = found->start + found->length;
  }
  for (size_t offset = 0; offset <= size; offset += 1 + size / 16) {
    std::optional<ClickedAddress> clicked = AddressAt(text, offset);
    if (!clicked) continue;
    if (!Covers(text, clicked->address, offset)) __builtin_trap();
    CheckOpened(clicked->address, clicked->open);
  }
  // The bare address, as the fuzzer wrote it, must also open only as a web
  // page or a mail.
  CheckOpened(text, AddressToOpen(text));
  return 0;
}
