// Web and mail addresses in Shift-JIS chat text: the scanner that finds them
// and the rule that turns a clicked one into the text handed to the shell.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tellu {

struct AddressSpan {
  size_t start = 0;
  size_t length = 0;
  friend bool operator==(const AddressSpan&, const AddressSpan&) = default;
};

// "A".."Z", "a".."z", "0".."9".
bool IsAddressAlnum(unsigned char b);
// "!".."Z", "\", "^", "_", "`", "a".."z", "~": no blank, brackets, braces,
// "|", control bytes or bytes of 0x80 and above.
bool IsAddressChar(unsigned char b);

// The first address at or after `from`: an alphanumeric start, name bytes
// with at most one "@", a dot and a domain, then (without "@") an optional
// "/" and path.  A candidate that runs into another address character is
// dropped with the rest of its run.  A double-byte character is one unit
// that belongs to no class, so its trail byte never starts a candidate.
std::optional<AddressSpan> FindAddress(std::string_view text, size_t from = 0);

struct ClickedAddress {
  std::string address;  // as it stands in the text
  std::string open;     // what the shell is asked to open
  friend bool operator==(const ClickedAddress&, const ClickedAddress&) = default;
};

// The address that covers `offset` in `text` (the clicked line region), with
// what AddressToOpen makes of it.
std::optional<ClickedAddress> AddressAt(std::string_view text, size_t offset);

// The shell text for an address found by FindAddress: one that begins with
// "http://" or "https://" (any case) as it stands; one with "@" behind
// "mailto:" unless it begins with that; any other behind "http://".  So what
// the shell is handed always begins with one of these three.
std::string AddressToOpen(std::string_view address);

}  // namespace tellu
