// The handshake's byte rules: addresses scrambled into whispers, the
// local-network test, and the file-name rule that guards every avatar file
// read for a peer or written for one.
#pragma once
#include <string>
#include <string_view>

namespace tellu {

// Digits and dots become the half-width katakana B0..B9 and AE, so an
// address reads as katakana in a whisper.  Decoding undoes that for digits
// and dots only.
std::string EncodeAddress(std::string_view text);
std::string DecodeAddress(std::string_view text);

// True for an address on a private network (10/8, 172.16/12, 192.168/16)
// and for a text without any ".", such as the empty own address before the
// first server connection.
bool IsLocalAddress(std::string_view text);

// Four decimal numbers 0..255 joined by dots: the only addresses the
// exchange connects to.
bool IsDottedAddress(std::string_view text);

// A file reference a peer may name: ends in ".mov" (any case), and stays in
// the host program directory: no "..", no drive or stream ":", no leading
// "\" or "/", no control byte.
bool IsAvatarFileName(std::string_view name);

// The part of an avatar reference after its first backslash (the whole
// reference without one).  The search steps over double-byte characters,
// whose second byte may be 5C.
std::string_view AfterFirstBackslash(std::string_view reference);
// Offset of the first backslash, or npos.
std::size_t FirstBackslash(std::string_view text);

}  // namespace tellu
