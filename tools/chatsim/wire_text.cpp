#include "wire_text.h"

#include <cstdint>

namespace tellu::chatsim {
namespace {

constexpr char kMiddleDot[] = "\xe3\x83\xbb";  // U+30FB

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the well-formed sequence of at most three bytes (a 16-bit code
// point) starting at i, or 0.
std::size_t SequenceLength(std::string_view s, std::size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  std::size_t n = 0;
  if (b < 0x80) return 1;
  if ((b & 0xE0) == 0xC0) n = 2;
  else if ((b & 0xF0) == 0xE0) n = 3;
  else return 0;
  if (i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if (!IsContinuation(static_cast<unsigned char>(s[i + k]))) return 0;
  const auto next = static_cast<unsigned char>(s[i + 1]);
  if (n == 2 && b < 0xC2) return 0;                 // overlong
  if (n == 3 && b == 0xE0 && next < 0xA0) return 0;  // overlong
  if (n == 3 && b == 0xED && next >= 0xA0) return 0; // surrogate half
  return n;
}

}  // namespace

std::string Utf8ToWire(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b == 0) {
      out += "\xc0\x80";
      ++i;
      continue;
    }
    const std::size_t n = SequenceLength(utf8, i);
    if (n == 0) {
      out += kMiddleDot;
      // A four-byte character counts as one unknown character, not four.
      ++i;
      while (i < utf8.size() && IsContinuation(static_cast<unsigned char>(utf8[i]))) ++i;
      continue;
    }
    out.append(utf8.substr(i, n));
    i += n;
  }
  return out;
}

std::string WireToDisplay(std::string_view wire) {
  std::string out;
  for (std::size_t i = 0; i < wire.size();) {
    const auto b = static_cast<unsigned char>(wire[i]);
    if (b == 0) break;
    if (b == 0xC0 && i + 1 < wire.size() && static_cast<unsigned char>(wire[i + 1]) == 0x80) break;
    const std::size_t n = SequenceLength(wire, i);
    if (n == 0) {
      out += '?';
      ++i;
      continue;
    }
    if (n == 1 && (b < 0x20 || b == 0x7F)) {
      out += '?';
    } else if (n == 2 && b == 0xC2 && static_cast<unsigned char>(wire[i + 1]) < 0xA0) {
      out += '?';  // C1 controls
    } else {
      out.append(wire.substr(i, n));
    }
    i += n;
  }
  return out;
}

std::string_view CutText(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  std::size_t end = max_bytes;
  while (end > 0 && IsContinuation(static_cast<unsigned char>(text[end]))) --end;
  return text.substr(0, end);
}

}  // namespace tellu::chatsim
