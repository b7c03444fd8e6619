// Scans arbitrary bytes for addresses: every candidate lies inside the text,
// after the previous one, is made of address characters only and starts with
// an alphanumeric; a click anywhere yields one of those candidates.
#include <cstddef>
#include <cstdint>
#include <string>

#include "log/find_address.h"

using namespace tellu;

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
    from = found->start + found->length;
  }
  for (size_t offset = 0; offset <= size; offset += 1 + size / 16) {
    std::optional<ClickedAddress> clicked = AddressAt(text, offset);
    if (!clicked) continue;
    if (text.find(clicked->address) == std::string::npos) __builtin_trap();
    const std::string& open = clicked->open;
    if (open.size() < clicked->address.size() ||
        open.compare(open.size() - clicked->address.size(), std::string::npos, clicked->address) != 0)
      __builtin_trap();
  }
  return 0;
}
