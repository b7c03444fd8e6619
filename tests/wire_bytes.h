// Bytes the tests put on the wire: a relay frame around a payload, and the
// host's login payload.
#pragma once
#include <string>
#include <string_view>

#include "chat/wire.h"

namespace tellu {

// The length byte counts itself.
inline std::string Framed(std::string_view payload) {
  return std::string(1, static_cast<char>(payload.size() + 1)) + std::string(payload);
}

// A chat line or whisper of the server: the kind's head, speaker and text.
inline std::string Chat(std::string_view kind, std::string_view speaker, std::string_view text) {
  std::string p(kind);
  PutString(p, speaker);
  PutString(p, text);
  return p;
}

inline std::string Login(std::string_view name) {
  std::string p = "\x01\x06\x03";
  PutString(p, "pw");
  p += '\x04';
  PutString(p, "x");
  p += '\x05';
  PutString(p, name);
  return p;
}

}  // namespace tellu
