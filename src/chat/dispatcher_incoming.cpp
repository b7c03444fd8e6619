// DispAddBin's side for messages from the server.
#include <string_view>

#include "chat/dispatcher.h"
#include "chat/kinds.h"
#include "chat/voice.h"
#include "chat/wire.h"

namespace tellu {

namespace {

uint8_t ByteAt(std::string_view p, std::size_t i) {
  return i < p.size() ? static_cast<uint8_t>(p[i]) : 0;
}

}  // namespace

void Dispatcher::Incoming(Call& call, std::string_view p) {
  if (p.starts_with(kind::kChatText) || p.starts_with(kind::kWhisper)) return ChatLine(call, p);
  if (p.starts_with(kind::kObjectNaming)) return ObjectNaming(call, p);
  if (p.starts_with(kind::kPositionBatch)) return PositionBatch(call, p);
  // A leading 00 with 01 after it is a named-object message for a one-byte
  // name, not a move.
  if (p.size() >= 2 && p[1] == kind::kObjectMove && p[0] != 0) return ObjectMove(call, p);
  if (p.starts_with(kind::kEventBatch)) return EventBatch(call, p);
  if (p.starts_with(kind::kNamedObject)) return NamedObject(call, p);
  if (p.starts_with(kind::kRoomPositionBatch)) return RoomPositionBatch(call, p);
  if (p.starts_with(kind::kObjectRelease)) return ObjectRelease(call, p);
}

void Dispatcher::ChatLine(Call& call, std::string_view p) {
  call.whisper = p.starts_with(kind::kWhisper);
  PayloadReader r(p, kind::kChatText.size());
  if (r.AtEnd()) return;
  std::string speaker = r.ReadString();
  if (r.AtEnd()) return;
  std::string text = r.ReadString();
  if (l_.settings.IsMuted(speaker)) {
    call.result = Verdict::kSwallow;
    return;
  }
  if (speaker != l_.state.own_name && l_.voice.TrackRepeat(speaker, text))
    call.result = Verdict::kSwallow;
  // A line the automatic mute has just swallowed is gone, whisper or not:
  // not logged, not offered to the exchange, not answered.
  if (call.result != Verdict::kPassOn) return;
  if (!call.whisper) {
    call.prefix = "<" + speaker + ">";
    call.text = std::move(text);
    return;
  }
  if (AvatarWhisperCheck(text, speaker)) {
    call.result = Verdict::kSwallow;
    return;
  }
  call.prefix = "{" + speaker + " -> " + l_.state.own_name + "}";
  call.text = std::move(text);
  // The user's own whisper to their own name comes back from the server.
  call.whisper_to_me = speaker != l_.state.own_name;
  l_.state.last_whisperer = speaker;
  if (auto reply = l_.voice.AutoReply(call.prefix, call.text, p)) {
    call.result = Verdict::kSwallow;
    call.reply = true;
    call.reply_target = std::move(speaker);
    call.reply_text = std::move(*reply);
  }
}

void Dispatcher::ObjectNaming(Call& call, std::string_view p) {
  PayloadReader r(p, kind::kObjectNaming.size());
  std::string name = r.ReadString();
  int n = r.ReadByte();
  if (IsObject(n)) l_.objects.SetObject(n, name, "");
  call.who_changed = true;
  ToHost(BuildObjectNaming(name, n));
  call.result = Verdict::kSwallow;
}

void Dispatcher::SetPersonPosition(Call& call, int n, const Position& pos) {
  // A status is carried in the position: the Who window must hear of a new
  // picture or "#", but not of a plain move.
  const ObjectRecord& r = l_.objects.Get(n);
  const Mark before = MarkOf(r.pos);
  l_.objects.SetPosition(n, pos);
  const Mark after = MarkOf(r.pos);
  if (IsOther(n) && !r.name.empty() && (before.bitmap != after.bitmap || before.hash != after.hash))
    call.who_changed = true;
}

void Dispatcher::PositionBatch(Call& call, std::string_view p) {
  ObjectSet set;
  for (std::size_t at = kind::kPositionBatch.size(); at < p.size(); at += kind::kBatchRecordSize) {
    int n = ByteAt(p, at);
    if (!IsOther(n)) continue;
    l_.objects.SetRoom(n, ByteAt(p, at + kind::kRecordRoom));
    SetPersonPosition(call, n, PayloadReader(p, at + kind::kBatchRecordPosition).ReadPosition());
    set.set(n);
  }
  ToHost(l_.movement.PositionBatch(set));
  call.result = Verdict::kSwallow;
}

void Dispatcher::ObjectMove(Call& call, std::string_view p) {
  int n = ByteAt(p, 0);
  if (!IsOther(n)) return;
  SetPersonPosition(call, n, PayloadReader(p, kind::kMovePosition).ReadPosition());
  ToHost(l_.movement.ObjectMove(n));
  call.result = Verdict::kSwallow;
}

void Dispatcher::EventBatch(Call& call, std::string_view p) {
  for (std::size_t at = kind::kEventBatch.size(); at < p.size(); at += kind::kEventRecordSize) {
    int n = ByteAt(p, at);
    if (!IsOther(n)) continue;
    ToHost(BuildObjectEvent(
        n, p.substr(at + kind::kEventRecordBytes, kind::kEventRecordBytesSize)));
  }
  call.result = Verdict::kSwallow;
}

void Dispatcher::NamedObject(Call& call, std::string_view p) {
  PayloadReader r(p, kind::kNamedObject.size());
  std::string name = r.ReadString();
  if (int n = l_.objects.FindOther(name)) {
    r.Skip(kind::kAvatarProperty.size());  // not examined
    std::string avatar = r.ReadRaw();
    l_.objects.SetAvatar(n, avatar);
    call.who_changed = true;
    ToHost(BuildNamedObjectAvatar(name, avatar));
    call.result = Verdict::kSwallow;
  }
  l_.voice.Greet(name);
}

void Dispatcher::RoomPositionBatch(Call& call, std::string_view p) {
  for (std::size_t at = kind::kRoomPositionBatch.size(); at < p.size();
       at += kind::kRoomRecordSize) {
    int n = ByteAt(p, at);
    if (!IsObject(n)) continue;
    uint8_t room = ByteAt(p, at + kind::kRecordRoom);
    if (room != l_.state.current_room) {
      l_.objects.EmptyObject(n);
      call.who_changed = true;
    }
    l_.objects.SetRoom(n, room);
    PayloadReader r(p, at + kind::kRoomRecordOpaque);
    std::string opaque = r.ReadFixed(kind::kRoomOpaqueSize);
    SetPersonPosition(call, n, r.ReadPosition());
    // For object 1 the record shows the stored position while no ghost is
    // shown (an absent ghost's zeros would put the user's avatar at the
    // room's origin), and the ghost with its room while one is.
    ToHost(l_.movement.RoomPositionRecord(n, opaque));
  }
  call.result = Verdict::kSwallow;
}

void Dispatcher::ObjectRelease(Call& call, std::string_view p) {
  for (std::size_t at = kind::kObjectRelease.size(); at < p.size(); ++at)
    l_.objects.EmptyObject(ByteAt(p, at));
  call.who_changed = true;
}

}  // namespace tellu
