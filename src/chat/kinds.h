// The kinds of chat payload by the bytes that open them: what the dispatcher
// routes on and what the builders begin with.
#pragma once
#include <string_view>

namespace tellu::kind {

// From the server.
inline constexpr std::string_view kChatText("\x01\x0E\x00", 3);
inline constexpr std::string_view kWhisper("\x01\x11\x00", 3);
inline constexpr std::string_view kObjectNaming("\xFF\x0D", 2);
inline constexpr std::string_view kPositionBatch("\xFE\x0C", 2);
inline constexpr char kObjectMove = '\x01';  // second byte, after an object number
inline constexpr std::string_view kEventBatch("\xFE\x04", 2);
inline constexpr std::string_view kNamedObject("\x00", 1);  // then a name
inline constexpr std::string_view kAvatarProperty("\x03\x05", 2);  // after the name
inline constexpr std::string_view kRoomPositionBatch("\xFE\x12", 2);
inline constexpr std::string_view kObjectRelease("\xFE\x0B", 2);

// From the host.
inline constexpr std::string_view kLogin("\x01\x06\x03", 3);
inline constexpr std::string_view kOwnChatText = kChatText;
inline constexpr std::string_view kOwnAvatar("\x01\x03\x05", 3);
inline constexpr std::string_view kNamedOutgoing = kNamedObject;      // then a target name
inline constexpr std::string_view kWhisperSent("\x11\x00", 2);        // after the target
inline constexpr std::string_view kAvatarRequest("\x0A\x05", 2);      // after the name
inline constexpr std::string_view kOwnRoomPosition("\x01\x12\x00", 3);
inline constexpr std::string_view kOwnRoomEntry("\x01\x05\x00", 3);
inline constexpr std::string_view kOwnMove("\x01\x01", 2);

}  // namespace tellu::kind
