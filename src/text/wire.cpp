// The chat protocol's text codec: UTF-8 of 16-bit code points on the wire,
// Shift-JIS inside the program.
#include "text/sjis.h"
#include "text/sjis_char.h"

namespace tellu::text {
namespace {

// Tried only when the table has no mapping: other clients send these for
// the characters Windows reads as U+FF5E, U+2225 and U+FF0D.
bool WireFallback(char16_t cp, uint16_t& out) {
  switch (cp) {
    case u'\u301C': out = 0x8160; return true;
    case u'\u2016': out = 0x8161; return true;
    case u'\u2212': out = 0x817C; return true;
    default: return false;
  }
}

// The four pairs that never go through the table when writing.
bool WireSpecialPair(uint16_t code, char16_t& out) {
  switch (code) {
    case 0x815F: out = u'\u005C'; return true;
    case 0x8160: out = u'\u301C'; return true;
    case 0x8161: out = u'\u2016'; return true;
    case 0x817C: out = u'\u2212'; return true;
    default: return false;
  }
}

bool IsContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }

}  // namespace

std::string WireToSjis(std::string_view wire) {
  std::string out;
  out.reserve(wire.size());
  size_t i = 0;
  while (i < wire.size()) {
    const uint8_t b = static_cast<uint8_t>(wire[i]);
    // ASCII is most chat text and maps to itself; 5C is the backslash row.
    if (b != 0 && b < 0x80 && b != 0x5C) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    if (b == 0 || IsContinuation(b)) break;  // a stray continuation reads as NUL
    size_t extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : 2;
    // F0..FF lead three-byte sequences too: the sender's encoder knows only
    // 16-bit code points.
    char16_t cp = b < 0x80 ? b : b < 0xE0 ? (b & 0x1F) : (b & 0x0F);
    size_t taken = 1;
    while (taken <= extra && i + taken < wire.size() &&
           IsContinuation(static_cast<uint8_t>(wire[i + taken]))) {
      cp = static_cast<char16_t>(cp << 6 | (wire[i + taken] & 0x3F));
      ++taken;
    }
    i += taken;
    // A sequence broken by another byte or by the end of the field gives
    // nothing; reading goes on at the byte that broke it.
    if (taken <= extra) continue;
    if (cp == 0) break;  // C0 80, the carried NUL, ends the text
    uint16_t code;
    if (cp == u'\u00A5') {
      out += '\x5C';
    } else if (cp == u'\u005C') {
      out += "\x81\x5F";  // "＼"
    } else if (UnicodeToCp932(cp, code) || WireFallback(cp, code)) {
      AppendCode(out, code);
    }
  }
  return out;
}

std::string SjisToWire(std::string_view sjis) {
  std::string out;
  size_t i = 0;
  while (i < sjis.size()) {
    const uint8_t b = static_cast<uint8_t>(sjis[i]);
    // A NUL ends the text, as C0 80 does when the wire is read: the reader
    // would drop everything after it anyway.
    if (b == 0) break;
    if (b == 0x5C) {
      AppendUtf8(out, u'\u00A5');
      ++i;
      continue;
    }
    SjisChar ch = NextSjisChar(sjis, i);
    i += ch.size;
    char16_t cp = ch.unicode;
    if (ch.size == 2) WireSpecialPair(ch.code, cp);
    AppendUtf8(out, cp);
  }
  return out;
}

}  // namespace tellu::text
