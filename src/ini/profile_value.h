// How the private-profile calls shape what they return: the default's
// trailing blanks, enclosing quotes, the caller's buffer size, and the
// integer reading of a value.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace tellu::ini {

// A default value as the platform uses it: cut at NUL, trailing blanks
// (space only) removed.
std::string_view ShapeDefault(std::string_view value);

// A value that starts and ends with the same quote (single or double) and
// is at least two bytes long loses both quotes.
std::string_view StripQuotes(std::string_view value);

// At most buffer_size - 1 bytes, never ending in half a double-byte
// character.
std::string CutToBuffer(std::string_view value, size_t buffer_size);

// The integer rule of GetPrivateProfileInt on a value already read as a
// string (at most 29 bytes): leading control bytes and blanks skipped, an
// optional sign, "0x", "0o" or "0b" for hexadecimal, octal or binary, then
// digits up to the first that does not belong; arithmetic wraps at 32 bits.
int ProfileInt(std::string_view value);

}  // namespace tellu::ini
