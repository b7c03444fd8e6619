// Any payload, read as every message layout the parser knows, must stay inside
// its bytes, and what it yields must build payloads a frame can carry.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "chat/movement.h"
#include "chat/objects.h"
#include "chat/wire.h"
#include "fuzz/chat_fuzz.h"

namespace {

using namespace tellu;
using fuzz::Require;

void CheckPayload(const std::string& p) { Require(p.size() <= kMaxPayload); }

// A text that went through the codec once must come back unchanged.
void CheckText(const std::string& sjis) {
  std::string once;
  PutString(once, sjis);
  if (once.size() > 255) return;  // cut: not comparable
  PayloadReader r(once);
  Require(r.ReadString() == sjis);
  Require(r.AtEnd());
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
  while (!r.AtEnd()) {
    std::size_t before = r.offset();
    int n = r.ReadByte();
    if (record == 4) {
      CheckPayload(BuildObjectEvent(n, r.ReadFixed(3)));
    } else {
      r.Skip(1);
      int room = r.ReadByte();
      std::string opaque = record == 13 ? r.ReadFixed(2) : std::string();
      w.objects.SetRoom(n, static_cast<uint8_t>(room));
      w.objects.SetPosition(n, r.ReadPosition());
      if (record == 13) CheckPayload(w.move.RoomPositionRecord(n, opaque));
    }
    Require(r.offset() > before && r.offset() <= before + record && r.offset() <= data.size());
  }
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
    CheckPayload(BuildChatText(speaker, text));
    CheckPayload(BuildSay(text));
    CheckPayload(BuildWhisper(speaker, text, text));
  }
  {  // object naming
    PayloadReader r(data, 2);
    std::string name = r.ReadString();
    int n = r.ReadByte();
    w.objects.SetObject(n, name, "");
    CheckPayload(BuildObjectNaming(name, n));
  }
  Records(data, w, 11);
  Records(data, w, 4);
  Records(data, w, 13);
  {  // object move
    PayloadReader r(data);
    int n = r.ReadByte();
    r.Skip(1);
    w.objects.SetPosition(n, r.ReadPosition());
    CheckPayload(w.move.ObjectMove(n));
  }
  {  // named-object message
    PayloadReader r(data, 1);
    std::string name = r.ReadString();
    r.Skip(2);
    std::string avatar = r.ReadRaw();
    Require(r.offset() <= size && avatar.size() <= 255);
    int n = w.objects.FindOther(name);
    w.objects.SetAvatar(n, avatar);
    CheckPayload(BuildNamedObjectAvatar(name, avatar));
    CheckPayload(BuildOwnAvatar(avatar));
  }
  {  // object release
    PayloadReader r(data, 2);
    while (!r.AtEnd()) w.objects.EmptyObject(r.ReadByte());
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
    w.objects.SetPosition(kOwnObject, own.ReadPosition());
    w.objects.SetRoom(kOwnObject, static_cast<uint8_t>(room));
    CheckPayload(w.move.OwnRoomPosition(room, room % 7));
    w.move.ToggleGhost(room & 1, data.substr(0, 40), room % 7);
    w.move.Press(static_cast<MoveKey>(room % 7), room % 7);
    w.move.NewOwnAvatar(data.substr(size / 2));
    ObjectSet all;
    all.set();
    CheckPayload(w.move.PositionBatch(all));
  }
  for (int n = 1; n <= kLastObject; ++n) {
    Require(WhoLine(w.objects.Get(n)).size() <= 13 + 255 + 1);
    Mark m = MarkOf(w.objects.Get(n).pos);
    Require(m.bitmap >= 150 && m.bitmap <= 171);
  }
  return 0;
}
