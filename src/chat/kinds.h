// The kinds of chat payload by the bytes that open them: what the dispatcher
// routes on and what the builders begin with.
#pragma once
#include <cstddef>
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

// Records inside the messages from the server, as offsets from the record's
// object number.  Position batch: number, 00, room, position.  Room position
// batch: number, 00, room, two opaque bytes, position.  Event batch: number,
// three opaque bytes.  Object move: number, 01, position.
inline constexpr std::size_t kRecordRoom = 2;
inline constexpr std::size_t kBatchRecordPosition = 3;
inline constexpr std::size_t kBatchRecordSize = 11;
inline constexpr std::size_t kRoomRecordOpaque = 3;
inline constexpr std::size_t kRoomOpaqueSize = 2;  // also in the host's own room position
inline constexpr std::size_t kRoomRecordSize = 13;
inline constexpr std::size_t kEventRecordBytes = 1;
inline constexpr std::size_t kEventRecordBytesSize = 3;
inline constexpr std::size_t kEventRecordSize = 4;
inline constexpr std::size_t kMovePosition = 2;

static_assert(kBatchRecordSize == kBatchRecordPosition + 8 &&
              kRoomRecordSize == kRoomRecordOpaque + kRoomOpaqueSize + 8 &&
              kEventRecordSize == kEventRecordBytes + kEventRecordBytesSize);

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

// The two opaque bytes of a room position: fixed in the own one; two records
// to the host, the first with kReloadFirst, make it reload an avatar.
inline constexpr std::string_view kOwnRoomPositionBytes("\x02\x02", 2);
inline constexpr std::string_view kReloadFirst("\x01\x00", 2);
inline constexpr std::string_view kReloadSecond("\x00\x01", 2);
static_assert(kOwnRoomPositionBytes.size() == kRoomOpaqueSize &&
              kReloadFirst.size() == kRoomOpaqueSize && kReloadSecond.size() == kRoomOpaqueSize &&
              kWhisperSent.size() == kAvatarRequest.size());

}  // namespace tellu::kind
