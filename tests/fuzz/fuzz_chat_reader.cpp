// Any payload, read as every message layout the parser knows, must stay inside
// its bytes; what it yields, built into payloads again, must decode to the
// same fields (read here byte by byte, without the parser).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chat/movement.h"
#include "chat/objects.h"
#include "chat/wire.h"
#include "fuzz/chat_fuzz.h"
#include "text/sjis.h"

namespace {

using namespace tellu;
using fuzz::Require;

// Walks a built payload; any read past its end fails the run.
class Built {
 public:
  explicit Built(std::string p) : p_(std::move(p)) { Require(p_.size() <= kMaxPayload); }
  bool empty() const { return p_.empty(); }
  std::string_view Take(std::size_t n) {
    Require(at_ + n <= p_.size());
    std::string_view part = std::string_view(p_).substr(at_, n);
    at_ += n;
    return part;
  }
  void Expect(std::string_view bytes) { Require(Take(bytes.size()) == bytes); }
  int Byte() { return static_cast<uint8_t>(Take(1)[0]); }
  std::string_view Counted() { return Take(Byte()); }
  void Raw(std::string_view bytes) { Require(Counted() == bytes.substr(0, 255)); }
  // The text as wire bytes, whole or cut before a UTF-8 continuation byte.
  void Text(std::string_view sjis, bool whole) {
    const std::string wire = text::SjisToWire(sjis);
    const std::string_view got = Counted();
    if (whole || got.size() == wire.size()) {
      Require(got == wire);
      return;
    }
    Require(got.size() < wire.size() && wire.compare(0, got.size(), got) == 0);
    Require((static_cast<uint8_t>(wire[got.size()]) & 0xC0) != 0x80);
  }
  void Pos(const Position& pos) {
    for (int16_t v : {pos.x, pos.y, pos.z, pos.dir}) {
      const int hi = Byte(), lo = Byte();
      Require(static_cast<int16_t>(hi << 8 | lo) == v);
    }
  }
  void End() const { Require(at_ == p_.size()); }
  std::size_t size() const { return p_.size(); }

 private:
  std::string p_;
  std::size_t at_ = 0;
};

std::size_t WireSize(std::string_view sjis) { return text::SjisToWire(sjis).size(); }

// A text that went through the codec once must come back unchanged.
void CheckText(const std::string& sjis) {
  std::string once;
  PutString(once, sjis);
  if (once.size() > 255) return;  // cut: not comparable
  PayloadReader r(once);
  Require(r.ReadString() == sjis);
  Require(r.AtEnd());
}

// Empty only when the head (and the text's count byte) cannot fit.
bool Unsent(const Built& b, std::size_t head) {
  if (!b.empty()) return false;
  Require(head + 1 > kMaxPayload);
  return true;
}

struct World {
  ObjectTable objects;
  fuzz::CheckingRelay relay;
  Movement move{objects, relay};
};

// Batches of 4-byte event records, 11-byte position records or 13-byte room
// position records from offset 2.
void Records(std::string_view data, World& w, std::size_t record) {
  PayloadReader r(data, 2);
  std::vector<BatchRecord> batch;
  while (!r.AtEnd()) {
    std::size_t before = r.offset();
    int n = r.ReadByte();
    if (record == 4) {
      std::string opaque = r.ReadFixed(3);
      Built b(BuildObjectEvent(n, opaque));
      b.Expect("\xFE\x04");
      Require(b.Byte() == n);
      b.Expect(opaque);
      b.End();
    } else {
      r.Skip(1);
      int room = r.ReadByte();
      std::string opaque = record == 13 ? r.ReadFixed(2) : std::string();
      Position pos = r.ReadPosition();
      w.objects.SetRoom(n, static_cast<uint8_t>(room));
      w.objects.SetPosition(n, pos);
      batch.push_back({n, room, pos});
      if (record == 13) {
        Built b(BuildRoomPositionRecord(n, room, opaque, pos));
        b.Expect(std::string_view("\xFE\x12", 2));
        Require(b.Byte() == n && b.Byte() == 0 && b.Byte() == room);
        b.Expect(opaque);
        b.Pos(pos);
        b.End();
        Require(w.move.RoomPositionRecord(n, opaque).size() == b.size());
      }
    }
    Require(r.offset() > before && r.offset() <= before + record && r.offset() <= data.size());
  }
  if (record != 11) return;
  Built b(BuildPositionBatch(batch));
  if (b.empty()) {
    Require(2 + 11 * batch.size() > kMaxPayload);
    return;
  }
  b.Expect("\xFE\x0C");
  for (const BatchRecord& rec : batch) {
    Require(b.Byte() == rec.object && b.Byte() == 0 && b.Byte() == rec.room);
    b.Pos(rec.pos);
  }
  b.End();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  std::string_view data(reinterpret_cast<const char*>(bytes), size);
  World w;

  {  // chat text / whisper
    PayloadReader r(data, 3);
    std::string speaker = r.ReadString();
    std::string text = r.ReadString();
    Require(r.offset() <= size);
    CheckText(speaker);
    CheckText(text);
    for (std::string_view who : {std::string_view(speaker), std::string_view()}) {
      Built b(who.empty() ? BuildSay(text) : BuildChatText(who, text));
      if (Unsent(b, 3 + 1 + WireSize(who))) continue;
      b.Expect(std::string_view("\x01\x0E\x00", 3));
      b.Text(who, true);
      b.Text(text, false);
      b.End();
    }
    Built b(BuildWhisper(speaker, text, text));
    if (!Unsent(b, 1 + 1 + WireSize(speaker) + 2 + 1 + WireSize(text))) {
      b.Expect(std::string_view("\x00", 1));
      b.Text(speaker, true);
      b.Expect(std::string_view("\x11\x00", 2));
      b.Text(text, true);
      b.Text(text, false);
      b.End();
    }
  }
  {  // object naming
    PayloadReader r(data, 2);
    std::string name = r.ReadString();
    int n = r.ReadByte();
    w.objects.SetObject(n, name, "");
    Built b(BuildObjectNaming(name, n));
    if (b.empty()) {
      Require(2 + 1 + WireSize(name) + 1 > kMaxPayload);
    } else {
      b.Expect("\xFF\x0D");
      b.Text(name, true);
      Require(b.Byte() == n);
      b.End();
    }
  }
  Records(data, w, 11);
  Records(data, w, 4);
  Records(data, w, 13);
  {  // object move
    PayloadReader r(data);
    int n = r.ReadByte();
    r.Skip(1);
    Position pos = r.ReadPosition();
    w.objects.SetPosition(n, pos);
    Built b(BuildObjectMove(n, pos));
    Require(b.Byte() == n && b.Byte() == 0x01);
    b.Pos(pos);
    b.End();
    Require(w.move.ObjectMove(n).size() == b.size());
  }
  {  // named-object message
    PayloadReader r(data, 1);
    std::string name = r.ReadString();
    r.Skip(2);
    std::string avatar = r.ReadRaw();
    Require(r.offset() <= size && avatar.size() <= 255);
    int n = w.objects.FindOther(name);
    w.objects.SetAvatar(n, avatar);
    Built named(BuildNamedObjectAvatar(name, avatar));
    if (named.empty()) {
      Require(1 + 1 + WireSize(name) + 2 + 1 + avatar.size() > kMaxPayload);
    } else {
      named.Expect(std::string_view("\x00", 1));
      named.Text(name, true);
      named.Expect("\x03\x05");
      named.Raw(avatar);
      named.End();
    }
    Built own(BuildOwnAvatar(avatar));
    if (own.empty()) {
      Require(3 + 1 + avatar.size() > kMaxPayload);
    } else {
      own.Expect("\x01\x03\x05");
      own.Raw(avatar);
      own.End();
    }
  }
  {  // object release
    PayloadReader r(data, 2);
    while (!r.AtEnd()) {
      int n = r.ReadByte();
      w.objects.EmptyObject(n);
      Built b(BuildObjectRelease(n));
      b.Expect("\xFE\x0B");
      Require(b.Byte() == n);
      b.End();
    }
  }
  {  // login and the own position messages
    PayloadReader r(data, 3);
    for (int i = 0; i < 3; ++i) {
      if (i > 0) r.ReadByte();
      std::string property = r.ReadString();
      if (i == 2) w.objects.SetObject(kOwnObject, property, "");
    }
    PayloadReader own(data, 3);
    int room = own.ReadByte();
    own.Skip(2);
    Position pos = own.ReadPosition();
    w.objects.SetPosition(kOwnObject, pos);
    w.objects.SetRoom(kOwnObject, static_cast<uint8_t>(room));
    Built b(BuildOwnRoomPosition(room, pos));
    b.Expect(std::string_view("\x01\x12\x00", 3));
    Require(b.Byte() == room);
    b.Expect("\x02\x02");
    b.Pos(pos);
    b.End();
    Require(w.move.OwnRoomPosition(room, room % 7).size() == b.size());
    w.move.ToggleGhost(room & 1, data.substr(0, 40), room % 7);
    w.move.Press(static_cast<MoveKey>(room % 7), room % 7);
    w.move.NewOwnAvatar(data.substr(size / 2));
    ObjectSet all;
    all.set();
    Built batch(w.move.PositionBatch(all));
    Require(batch.size() == 2 + 11 * kLastObject);
  }
  for (int n = 1; n <= kLastObject; ++n) {
    Require(WhoLine(w.objects.Get(n)).size() <= 13 + 255 + 1);
    Mark m = MarkOf(w.objects.Get(n).pos);
    Require(m.bitmap >= 150 && m.bitmap <= 171);
  }
  return 0;
}
