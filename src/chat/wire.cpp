#include "chat/wire.h"

#include <algorithm>

#include "chat/kinds.h"
#include "text/sjis.h"

namespace tellu {

namespace {

constexpr std::size_t kMaxField = 255;

// Wire text is UTF-8; cutting before a continuation byte would leave half a
// character for the peer to misread.
void CutWire(std::string& wire, std::size_t limit) {
  if (wire.size() <= limit) return;
  std::size_t n = limit;
  while (n > 0 && (static_cast<uint8_t>(wire[n]) & 0xC0) == 0x80) --n;
  wire.resize(n);
}

void PutWire(std::string& out, std::string_view sjis, std::size_t limit) {
  std::string wire = text::SjisToWire(sjis);
  CutWire(wire, std::min(limit, kMaxField));
  out += static_cast<char>(wire.size());
  out += wire;
}

void PutByte(std::string& out, int b) { out += static_cast<char>(b & 0xFF); }

// The free text closes the message: it gets whatever room the head leaves.
std::string EndWithText(std::string head, std::string_view text) {
  if (head.size() + 1 > kMaxPayload) return {};
  PutWire(head, text, kMaxPayload - head.size() - 1);
  return head;
}

std::string Checked(std::string payload) {
  if (payload.size() > kMaxPayload) return {};
  return payload;
}

std::string Padded(std::string_view bytes, std::size_t n) {
  std::string out(bytes.substr(0, n));
  out.resize(n, '\0');
  return out;
}

}  // namespace

PayloadReader::PayloadReader(std::string_view payload, std::size_t offset)
    : payload_(payload), offset_(std::min(offset, payload.size())) {}

std::string_view PayloadReader::Take(std::size_t n) {
  std::string_view part = payload_.substr(offset_, n);
  offset_ += part.size();
  return part;
}

uint8_t PayloadReader::ReadByte() {
  std::string_view b = Take(1);
  return b.empty() ? 0 : static_cast<uint8_t>(b[0]);
}

std::string PayloadReader::ReadString() {
  return text::WireToSjis(Take(ReadByte()));
}

std::string PayloadReader::ReadRaw() { return std::string(Take(ReadByte())); }

Position PayloadReader::ReadPosition() { return DecodePosition(Take(8)); }

std::string PayloadReader::ReadFixed(std::size_t n) { return Padded(Take(n), n); }

void PayloadReader::Skip(std::size_t n) { Take(n); }

std::string PayloadReader::ReadRest() { return std::string(Take(payload_.size())); }

Position DecodePosition(std::string_view bytes) {
  std::string b = Padded(bytes, 8);
  auto value = [&b](int i) {
    return static_cast<int16_t>(static_cast<uint8_t>(b[i]) << 8 | static_cast<uint8_t>(b[i + 1]));
  };
  return {value(0), value(2), value(4), value(6)};
}

void PutString(std::string& out, std::string_view sjis) { PutWire(out, sjis, kMaxField); }

void PutRaw(std::string& out, std::string_view bytes) {
  bytes = bytes.substr(0, kMaxField);
  out += static_cast<char>(bytes.size());
  out += bytes;
}

void PutPosition(std::string& out, const Position& pos) {
  for (int16_t v : {pos.x, pos.y, pos.z, pos.dir}) {
    auto u = static_cast<uint16_t>(v);
    PutByte(out, u >> 8);
    PutByte(out, u);
  }
}

int NormaliseAngle(int a) {
  // Wide arithmetic: the sums below must not overflow for any int.
  long long v = a;
  if (v > 180) v -= 360 * ((v + 179) / 360);
  if (v < -179) v += 360 * ((180 - v) / 360);
  return static_cast<int>(v);
}

std::string BuildSay(std::string_view text) {
  std::string head(kind::kChatText);
  PutString(head, "");  // the speaker field is empty
  return EndWithText(std::move(head), text);
}

std::string BuildWhisper(std::string_view target, std::string_view own_name,
                         std::string_view text) {
  std::string head(kind::kNamedOutgoing);
  PutString(head, target);
  head += kind::kWhisperSent;
  PutString(head, own_name);
  return EndWithText(std::move(head), text);
}

std::string BuildOwnAvatar(std::string_view avatar) {
  std::string out(kind::kOwnAvatar);
  PutRaw(out, avatar);
  return Checked(std::move(out));
}

std::string BuildOwnRoomPosition(int room, const Position& encoded) {
  std::string out(kind::kOwnRoomPosition);
  PutByte(out, room);
  out += kind::kOwnRoomPositionBytes;
  PutPosition(out, encoded);
  return out;
}

std::string BuildOwnRoomEntry(int room, const Position& encoded) {
  std::string out(kind::kOwnRoomEntry);
  PutByte(out, room);
  PutPosition(out, encoded);
  return out;
}

std::string BuildOwnMove(const Position& encoded) {
  std::string out(kind::kOwnMove);
  PutPosition(out, encoded);
  return out;
}

std::string BuildChatText(std::string_view speaker, std::string_view text) {
  std::string head(kind::kChatText);
  PutString(head, speaker);
  return EndWithText(std::move(head), text);
}

std::string BuildObjectNaming(std::string_view name, int object) {
  std::string out(kind::kObjectNaming);
  PutString(out, name);
  PutByte(out, object);
  return Checked(std::move(out));
}

std::string BuildPositionBatch(std::span<const BatchRecord> records) {
  std::string out(kind::kPositionBatch);
  for (const BatchRecord& r : records) {
    PutByte(out, r.object);
    PutByte(out, 0);
    PutByte(out, r.room);
    PutPosition(out, r.pos);
  }
  return Checked(std::move(out));
}

std::string BuildObjectMove(int object, const Position& pos) {
  std::string out;
  PutByte(out, object);
  out += kind::kObjectMove;
  PutPosition(out, pos);
  return out;
}

std::string BuildObjectEvent(int object, std::string_view opaque) {
  std::string out(kind::kEventBatch);
  PutByte(out, object);
  out += Padded(opaque, 3);
  return out;
}

std::string BuildNamedObjectAvatar(std::string_view name, std::string_view avatar) {
  std::string out(kind::kNamedObject);
  PutString(out, name);
  out += kind::kAvatarProperty;
  PutRaw(out, avatar);
  return Checked(std::move(out));
}

std::string BuildRoomPositionRecord(int object, int room, std::string_view opaque,
                                    const Position& pos) {
  std::string out(kind::kRoomPositionBatch);
  PutByte(out, object);
  PutByte(out, 0);
  PutByte(out, room);
  out += Padded(opaque, 2);
  PutPosition(out, pos);
  return out;
}

std::string BuildObjectRelease(int object) {
  std::string out(kind::kObjectRelease);
  PutByte(out, object);
  return out;
}

}  // namespace tellu
