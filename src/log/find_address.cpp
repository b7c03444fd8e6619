#include "log/find_address.h"

#include "text/sjis.h"

namespace tellu {
namespace {

enum class Scan { kSearching, kName, kAfterDot, kDomain, kPath, kJunk };

bool StartsLower(std::string_view s, std::string_view lower) {
  if (s.size() < lower.size()) return false;
  for (size_t i = 0; i < lower.size(); ++i) {
    char c = s[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lower[i]) return false;
  }
  return true;
}

}  // namespace

bool IsAddressAlnum(unsigned char b) {
  return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9');
}

bool IsAddressChar(unsigned char b) {
  if (b >= '!' && b <= 'Z') return true;
  if (b >= 'a' && b <= 'z') return true;
  return b == '\\' || b == '^' || b == '_' || b == '`' || b == '~';
}

std::optional<AddressSpan> FindAddress(std::string_view text, size_t from) {
  Scan state = Scan::kSearching;
  size_t start = 0;
  bool has_at = false;
  // One step past the last byte stands for the terminating zero.
  for (size_t pos = from; pos <= text.size();) {
    const bool end = pos == text.size();
    const unsigned char b = end ? 0 : static_cast<unsigned char>(text[pos]);
    const size_t step = end ? 1 : (b >= 0x80 ? text::CharSize(text, pos) : 1);
    // Any byte of 0x80 and above belongs to no class, so it is never taken.
    const bool alnum = IsAddressAlnum(b), addr = IsAddressChar(b);
    switch (state) {
      case Scan::kSearching:
        if (alnum) {
          state = Scan::kName;
          start = pos;
          has_at = false;
        }
        break;
      case Scan::kName:
        if (b == '.') {
          state = Scan::kAfterDot;
        } else if (b == '@') {
          if (has_at) state = Scan::kJunk;
          has_at = true;
        } else if (b == '/' || b == ':' || b == '-' || alnum) {
        } else if (addr) {
          state = Scan::kJunk;
        } else {
          state = Scan::kSearching;
        }
        break;
      case Scan::kAfterDot:
        if (alnum)
          state = Scan::kDomain;
        else
          state = addr ? Scan::kJunk : Scan::kSearching;
        break;
      case Scan::kDomain:
        if (b == '.') {
          state = Scan::kAfterDot;
        } else if (b == '/' && !has_at) {
          state = Scan::kPath;
        } else if (alnum || b == '-') {
        } else if (addr) {
          state = Scan::kJunk;
        } else {
          return AddressSpan{start, pos - start};
        }
        break;
      case Scan::kPath:
        if (b == '@')
          state = Scan::kJunk;
        else if (!addr)
          return AddressSpan{start, pos - start};
        break;
      case Scan::kJunk:
        if (!addr) state = Scan::kSearching;
        break;
    }
    pos += step;
  }
  return std::nullopt;
}

// Only a web page or a mail opens: any other scheme before "://" could name a
// drive ("c://"), the local disk or a network share ("file://host/"), and
// the shell would run what it finds there.
std::string AddressToOpen(std::string_view address) {
  std::string open(address);
  if (StartsLower(address, "http://") || StartsLower(address, "https://")) return open;
  if (address.find('@') != std::string_view::npos) {
    if (!StartsLower(address, "mailto:")) open.insert(0, "mailto:");
  } else {
    open.insert(0, "http://");
  }
  return open;
}

std::optional<ClickedAddress> AddressAt(std::string_view text, size_t offset) {
  for (size_t from = 0; from < text.size();) {
    std::optional<AddressSpan> found = FindAddress(text, from);
    if (!found) break;
    if (offset >= found->start && offset < found->start + found->length) {
      std::string address(text.substr(found->start, found->length));
      std::string open = AddressToOpen(address);
      return ClickedAddress{std::move(address), std::move(open)};
    }
    from = found->start + found->length;
  }
  return std::nullopt;
}

}  // namespace tellu
