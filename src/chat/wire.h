// Field types of the chat protocol's payloads: a bounded reader, the field
// writers, angle normalising, and one builder per message the program composes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "relay/protocol.h"

namespace tellu {

struct Position {
  int16_t x = 0, y = 0, z = 0, dir = 0;
  bool operator==(const Position&) const = default;
};

// Reads fields front to back.  No read ever goes past the end of the payload:
// a counted field cut short yields only the bytes that are present, and a
// fixed-size field (byte, position, ReadFixed) reads its missing bytes as 0.
// The read offset never passes the payload's size.
class PayloadReader {
 public:
  explicit PayloadReader(std::string_view payload, std::size_t offset = 0);
  // The reader keeps a view: a temporary payload would vanish under it.
  PayloadReader(std::string&&, std::size_t = 0) = delete;

  uint8_t ReadByte();
  // Counted wire text, converted to Shift-JIS.
  std::string ReadString();
  // Counted bytes, copied as they are.
  std::string ReadRaw();
  // Four big-endian signed 16-bit values x, y, z, dir.  A position cut short
  // by the end of the payload stores 0 for each missing byte, so a value
  // whose low byte is missing keeps its high byte.
  Position ReadPosition();
  // Exactly n bytes, missing ones as 0.
  std::string ReadFixed(std::size_t n);
  // Everything left, as it is (own avatar takes its reference this way).
  std::string ReadRest();
  void Skip(std::size_t n);

  std::size_t offset() const { return offset_; }
  bool AtEnd() const { return offset_ >= payload_.size(); }

 private:
  std::string_view Take(std::size_t n);

  std::string_view payload_;
  std::size_t offset_;
};

// Decodes 8 bytes (missing ones as 0) the way ReadPosition does.
Position DecodePosition(std::string_view bytes);

// Writers append to `out`.  PutString converts to wire text; wire text longer
// than 255 bytes is cut at the last character boundary that fits.  PutRaw
// keeps at most the first 255 bytes.
void PutString(std::string& out, std::string_view sjis);
void PutRaw(std::string& out, std::string_view bytes);
void PutPosition(std::string& out, const Position& pos);

// Into -179..180.
int NormaliseAngle(int a);

// Builders.  Each returns a whole payload of at most kMaxPayload bytes.  Where
// a message ends in free text (say, whisper, chat text) that text is cut at a
// character boundary so the payload fits.  When a message cannot fit even so
// (names or avatar references too long) the builder returns an empty string,
// which is never a valid payload: the caller sends nothing.  Room bytes and
// object numbers are written as their low 8 bits.

// To the server.
std::string BuildSay(std::string_view text);
std::string BuildWhisper(std::string_view target, std::string_view own_name,
                         std::string_view text);
std::string BuildOwnAvatar(std::string_view avatar);
std::string BuildOwnRoomPosition(int room, const Position& encoded);
std::string BuildOwnRoomEntry(int room, const Position& encoded);
std::string BuildOwnMove(const Position& encoded);

// To the host.
struct BatchRecord {
  int object;
  int room;
  Position pos;
};
std::string BuildChatText(std::string_view speaker, std::string_view text);
std::string BuildObjectNaming(std::string_view name, int object);
std::string BuildPositionBatch(std::span<const BatchRecord> records);
std::string BuildObjectMove(int object, const Position& pos);
// `opaque`: the record's three bytes, missing ones as 0, extra ones dropped.
std::string BuildObjectEvent(int object, std::string_view opaque);
std::string BuildNamedObjectAvatar(std::string_view name, std::string_view avatar);
// `opaque`: the record's two bytes, missing ones as 0, extra ones dropped.
std::string BuildRoomPositionRecord(int object, int room, std::string_view opaque,
                                    const Position& pos);
std::string BuildObjectRelease(int object);

}  // namespace tellu
