// DispAddBin's side for messages from the host.
#include <algorithm>
#include <string_view>

#include "chat/dispatcher.h"
#include "chat/kinds.h"
#include "chat/wire.h"
#include "text/sjis.h"

namespace tellu {

namespace {

// The folder part of an avatar reference, through its first backslash; empty
// when it has none.  Steps over double-byte characters, whose second byte may
// be 5C.
std::string_view FolderOf(std::string_view ref) {
  const std::size_t slash = text::FindChar(ref, '\\');
  return slash == std::string_view::npos ? std::string_view{} : ref.substr(0, slash + 1);
}

}  // namespace

void Dispatcher::Outgoing(Call& call, std::string_view p) {
  if (p.starts_with(kind::kLogin) && host_count_ && host_count_() == 1) return Login(p);
  if (p.starts_with(kind::kOwnChatText)) {
    if (l_.state.status == kAwayStatus) SetStatus(kNormalStatus);
    return;
  }
  if (p.starts_with(kind::kOwnAvatar)) return OwnAvatar(call, p);
  if (p.starts_with(kind::kNamedOutgoing)) return NamedOutgoing(call, p);
  if (p.starts_with(kind::kOwnRoomPosition)) return OwnRoomPosition(call, p);
  if (p.starts_with(kind::kOwnRoomEntry)) return OwnRoomEntry(call, p);
  if (p.starts_with(kind::kOwnMove)) return OwnMove(call, p);
}

void Dispatcher::Login(std::string_view p) {
  PayloadReader r(p, kind::kLogin.size());
  r.ReadString();
  r.ReadByte();
  r.ReadString();
  r.ReadByte();
  l_.state.own_name = r.ReadString();
  l_.state.login_seen = true;
  l_.objects.SetObject(kOwnObject, l_.state.own_name, "");
  l_.ui.EnableLoginItems(true);
  const Settings& s = l_.settings.settings();
  if (s.position_save_flag == 1 && l_.state.who_window_flag) l_.ui.ToggleWhoWindow();
}

void Dispatcher::OwnAvatar(Call& call, std::string_view p) {
  std::string_view ref = p.substr(std::min<std::size_t>(kind::kOwnAvatar.size() + 1, p.size()));
  if (l_.objects.Own().avatar.empty()) l_.objects.SetObject(kOwnObject, l_.state.own_name, ref);
  SendOwnAvatar(ref);
  if (l_.state.avatar_base.empty()) l_.state.avatar_base = FolderOf(ref);
  call.result = Verdict::kSwallow;
}

void Dispatcher::NamedOutgoing(Call& call, std::string_view p) {
  PayloadReader r(p, kind::kNamedOutgoing.size());
  std::string name = r.ReadString();
  if (r.AtEnd()) return;
  // Both kinds that follow a target name are two bytes long.
  std::string_view head = p.substr(r.offset(), kind::kWhisperSent.size());
  if (head == kind::kWhisperSent) {
    r.Skip(head.size());
    std::string sender = r.ReadString();
    call.prefix = "{" + sender + " -> " + name + "}";
    call.text = r.ReadString();
  } else if (head == kind::kAvatarRequest && name == l_.objects.Own().name) {
    ToHost(BuildNamedObjectAvatar(name, l_.movement.ghost().avatar));
    call.result = Verdict::kSwallow;
  }
}

void Dispatcher::OwnRoomPosition(Call& call, std::string_view p) {
  PayloadReader r(p, kind::kOwnRoomPosition.size());
  l_.state.current_room = r.ReadByte();
  r.Skip(kind::kRoomOpaqueSize);
  l_.objects.SetPosition(kOwnObject, r.ReadPosition());
  l_.objects.SetRoom(kOwnObject, static_cast<uint8_t>(l_.state.current_room));
  l_.movement.RemoveGhost(l_.state.status);
  ToServer(l_.movement.OwnRoomPosition(l_.state.current_room, l_.state.status));
  call.result = Verdict::kSwallow;
}

void Dispatcher::OwnRoomEntry(Call& call, std::string_view p) {
  PayloadReader r(p, kind::kOwnRoomEntry.size());
  l_.state.current_room = r.ReadByte();
  l_.objects.SetPosition(kOwnObject, r.ReadPosition());
  l_.objects.SetRoom(kOwnObject, static_cast<uint8_t>(l_.state.current_room));
  l_.movement.RemoveGhost(l_.state.status);
  ToServer(l_.movement.OwnRoomEntry(l_.state.current_room, l_.state.status));
  call.result = Verdict::kSwallow;
  l_.objects.EmptyOthers();
  // The people of the old room are gone; the Who window must not show them
  // until the new room's messages happen to ask for a refresh.
  call.who_changed = true;
}

void Dispatcher::OwnMove(Call& call, std::string_view p) {
  l_.objects.SetPosition(kOwnObject, PayloadReader(p, kind::kOwnMove.size()).ReadPosition());
  ToServer(l_.movement.OwnMove(l_.state.status));
  call.result = Verdict::kSwallow;
}

}  // namespace tellu
