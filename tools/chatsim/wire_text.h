// Wire text (UTF-8 of 16-bit code points, NUL as C0 80) at chatsim's edges:
// what a terminal types, what it may be shown, and cutting to a byte limit.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace tellu::chatsim {

// Typed UTF-8 to wire text: characters beyond 16 bits and malformed bytes
// become U+30FB (katakana middle dot); NUL becomes C0 80.
std::string Utf8ToWire(std::string_view utf8);

// Wire text as a terminal may show it: the text ends at C0 80 or a zero byte
// as the host reads it; control characters and malformed bytes become "?",
// so nothing a peer sends can steer the terminal.
std::string WireToDisplay(std::string_view wire);

// The longest prefix of at most max_bytes that does not split a character.
std::string_view CutText(std::string_view text, std::size_t max_bytes);

}  // namespace tellu::chatsim
