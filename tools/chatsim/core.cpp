#include "core.h"

#include "frame.h"
#include "wire_text.h"

namespace tellu::chatsim {
namespace {

constexpr uint8_t kFirstNumber = 2;
constexpr uint8_t kLastNumber = 11;

std::string Brief(const Pos& p) {
  return std::to_string(p.x) + "," + std::to_string(p.y) + "," + std::to_string(p.z) + "," +
         std::to_string(p.dir);
}

}  // namespace

int ServerCore::Connect() {
  const int id = next_id_++;
  people_[id];
  return id;
}

ServerCore::Person* ServerCore::Find(int id) {
  auto it = people_.find(id);
  return it == people_.end() ? nullptr : &it->second;
}

std::string* ServerCore::Output(int id) {
  Person* p = Find(id);
  return p ? &p->out : nullptr;
}

const Pos* ServerCore::PositionOf(int id) const {
  auto it = people_.find(id);
  return it == people_.end() ? nullptr : &it->second.pos;
}

std::vector<std::string> ServerCore::ClientNames() const {
  std::vector<std::string> names;
  for (const auto& [id, p] : people_)
    if (p.logged_in && !p.bot) names.push_back(p.name);
  return names;
}

void ServerCore::Note(const std::string& what) {
  // Names and texts come from clients: keep them from steering a terminal.
  if (log_) log_(WireToDisplay(what));
}

void ServerCore::Send(Person& to, std::string_view payload) {
  if (to.bot || !to.logged_in) return;
  to.out += Frame(payload);  // an unframeable payload frames as nothing
}

bool ServerCore::Receive(int id, std::string_view payload) {
  Person* p = Find(id);
  if (!p) return false;
  const ClientMessage m = ParseFromClient(payload);
  if (!p->logged_in) {
    if (m.kind != ClientKind::kLogin || m.name.empty()) {
      Note("connection " + std::to_string(id) + ": first message is not a login, dropped");
      return false;
    }
    p->name = m.name;
    p->logged_in = true;
    Note(p->name + " logs in");
    SyncAll(id, true);
    return true;
  }
  switch (m.kind) {
    case ClientKind::kSay:
      Say(id, m.speaker.empty() ? std::string_view(p->name) : m.speaker, m.text);
      break;
    case ClientKind::kWhisper:
      Whisper(id, m.name, m.speaker.empty() ? std::string_view(p->name) : m.speaker, m.text);
      break;
    case ClientKind::kOwnAvatar:
      SetAvatar(id, m.avatar);
      break;
    case ClientKind::kAvatarRequest:
      AnswerAvatarRequest(*p, m.name);
      break;
    case ClientKind::kRoomPosition:
      RoomPosition(id, m.room, m.opaque, m.pos);
      break;
    case ClientKind::kRoomEntry:
      EnterRoom(id, m.room, m.pos);
      break;
    case ClientKind::kMove:
      Move(id, m.pos);
      break;
    case ClientKind::kLogin:
    case ClientKind::kOther:
      Note(p->name + ": ignored a message of " + std::to_string(payload.size()) + " bytes");
      break;
  }
  return true;
}

void ServerCore::Disconnect(int id) {
  auto it = people_.find(id);
  if (it == people_.end()) return;
  const bool was_in = it->second.logged_in;
  if (was_in) Note(it->second.name + " leaves");
  people_.erase(it);
  if (was_in) SyncAll(0, false);
}

int ServerCore::AddBot(std::string_view name, const Pos& pos, std::string_view avatar) {
  const int id = next_id_++;
  Person& b = people_[id];
  b.bot = true;
  b.logged_in = true;
  b.name = name;
  b.pos = pos;
  b.avatar = avatar;
  SyncAll(id, false);
  return id;
}

void ServerCore::Say(int id, std::string_view speaker, std::string_view text) {
  Person* p = Find(id);
  if (!p || !p->logged_in) return;
  Note(std::string(speaker) + " says: " + std::string(text));
  const std::string msg = BuildChat(speaker, text);
  for (auto& [vid, v] : people_)
    if (v.room == p->room) Send(v, msg);
}

void ServerCore::Whisper(int id, std::string_view target, std::string_view sender,
                         std::string_view text) {
  Person* p = Find(id);
  if (!p || !p->logged_in) return;
  const std::string msg = BuildWhisperIn(sender, text);
  int delivered = 0;
  for (auto& [vid, v] : people_) {
    if (!v.logged_in || v.name != target) continue;
    Send(v, msg);
    ++delivered;
  }
  Note(std::string(sender) + " whispers to " + std::string(target) + ": " + std::string(text) +
       (delivered ? "" : " (nobody of that name)"));
}

void ServerCore::Move(int id, const Pos& pos) {
  Person* p = Find(id);
  if (!p || !p->logged_in) return;
  p->pos = pos;
  Note(p->name + " moves to " + Brief(pos));
  for (auto& [vid, v] : people_)
    for (uint8_t n = kFirstNumber; n <= kLastNumber; ++n)
      if (v.view[n] == id) Send(v, BuildMove(n, pos));
}

void ServerCore::EnterRoom(int id, uint8_t room, const Pos& pos) {
  Person* p = Find(id);
  if (!p || !p->logged_in) return;
  p->room = room;
  p->pos = pos;
  Note(p->name + " enters room " + std::to_string(room) + " at " + Brief(pos));
  // The client clears its scene on its own room entry, so it is told about
  // everyone in the room again, not only about newcomers.
  SyncAll(id, true);
}

void ServerCore::RoomPosition(int id, uint8_t room, std::string_view opaque, const Pos& pos) {
  Person* p = Find(id);
  if (!p || !p->logged_in) return;
  p->pos = pos;
  if (room != p->room) {
    p->room = room;
    SyncAll(id, false);
  }
  Note(p->name + " stands in room " + std::to_string(room) + " at " + Brief(pos));
  for (auto& [vid, v] : people_)
    for (uint8_t n = kFirstNumber; n <= kLastNumber; ++n)
      if (v.view[n] == id) Send(v, BuildRoomPosition({n, room, std::string(opaque), pos}));
}

void ServerCore::SetAvatar(int id, std::string_view avatar) {
  Person* p = Find(id);
  if (!p || !p->logged_in) return;
  p->avatar = avatar;
  Note(p->name + " wears " + std::string(avatar));
  const std::string msg = BuildNamedAvatar(p->name, avatar);
  for (auto& [vid, v] : people_)
    for (uint8_t n = kFirstNumber; n <= kLastNumber; ++n)
      if (v.view[n] == id) Send(v, msg);
}

void ServerCore::AnswerAvatarRequest(Person& asker, std::string_view name) {
  for (auto& [id, p] : people_) {
    if (!p.logged_in || p.name != name) continue;
    if (!p.avatar.empty()) Send(asker, BuildNamedAvatar(p.name, p.avatar));
    return;
  }
  Note(asker.name + " asks for the avatar of " + std::string(name) + ": nobody of that name");
}

void ServerCore::SyncAll(int moved, bool refresh_moved) {
  for (auto& [id, v] : people_)
    if (v.logged_in && !v.bot) SyncView(id, v, refresh_moved && id == moved, moved);
}

// Brings one viewer's object numbers in line with who is in its room: the
// ones gone are released, newcomers get free numbers in order of arrival and
// are named, placed and dressed; `moved` is placed again if already known.
void ServerCore::SyncView(int viewer_id, Person& v, bool refresh, int moved) {
  std::vector<uint8_t> released;
  for (uint8_t n = kFirstNumber; n <= kLastNumber; ++n) {
    if (!v.view[n]) continue;
    const Person* p = Find(v.view[n]);
    if (!p || !p->logged_in || p->room != v.room) {
      released.push_back(n);
      v.view[n] = 0;
    }
  }
  if (!released.empty()) Send(v, BuildRelease(released));

  std::array<bool, 12> named{};
  for (auto& [id, p] : people_) {
    if (id == viewer_id || !p.logged_in || p.room != v.room) continue;
    bool known = false;
    uint8_t free = 0;
    for (uint8_t n = kFirstNumber; n <= kLastNumber; ++n) {
      if (v.view[n] == id) known = true;
      if (!v.view[n] && !free) free = n;
    }
    if (known || !free) continue;  // with ten known, the rest wait for a free number
    v.view[free] = id;
    named[free] = true;
  }
  if (refresh)
    for (uint8_t n = kFirstNumber; n <= kLastNumber; ++n) named[n] = v.view[n] != 0;

  std::vector<Record> placed;
  for (uint8_t n = kFirstNumber; n <= kLastNumber; ++n) {
    if (!v.view[n] || !(named[n] || v.view[n] == moved)) continue;
    const Person& p = people_.at(v.view[n]);
    if (named[n]) Send(v, BuildNaming(p.name, n));
    placed.push_back({n, p.room, {}, p.pos});
  }
  if (!placed.empty()) Send(v, BuildPositions(placed));
  for (uint8_t n = kFirstNumber; n <= kLastNumber; ++n) {
    if (!named[n]) continue;
    const Person& p = people_.at(v.view[n]);
    if (!p.avatar.empty()) Send(v, BuildNamedAvatar(p.name, p.avatar));
  }
}

}  // namespace tellu::chatsim
