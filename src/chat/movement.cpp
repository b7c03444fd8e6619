#include "chat/movement.h"

#include <cmath>
#include <vector>

namespace tellu {

namespace {

// Degrees to radians with the host's own constant, so positions agree with
// what other copies of this program compute.
constexpr double kRadiansPerDegree = 0.017453292519444445;

constexpr int kGhostAhead = 48;

int16_t Wrap(int v) { return static_cast<int16_t>(v); }

double Radians(int degrees) { return NormaliseAngle(degrees) * kRadiansPerDegree; }

int Trunc(double v) { return static_cast<int>(v); }

}  // namespace

Movement::Movement(ObjectTable& objects, RelayPort& relay) : objects_(objects), relay_(relay) {}

Position Movement::Encode(const Position& base, bool add_offsets, int status) const {
  Offsets o = add_offsets ? offsets_ : Offsets{};
  int z = (base.z + o.dz + 5) & ~kMarkBits;
  int dir = (base.dir + o.da) & ~kMarkBits;
  return {Wrap(base.x + o.dx), Wrap(base.y + o.dy), Wrap(z + kTelluMark),
          Wrap(NormaliseAngle(dir + (status & kMarkBits)))};
}

Position Movement::OwnEncoded(int status) const {
  return Encode(objects_.Own().pos, true, status);
}

Position Movement::ViewPosition(int n) const {
  const Position& own = objects_.Own().pos;
  Position q = own;
  if (n == kOwnObject && ghost_.Shown()) q = ghost_.pos;
  else if (IsOther(n)) q = objects_.Get(n).pos;
  double t = Radians(offsets_.da);
  double rx = q.x - offsets_.dx - own.x;
  double ry = q.y - offsets_.dy - own.y;
  return {Wrap(own.x + Trunc(rx * std::cos(t) + ry * std::sin(t))),
          Wrap(own.y + Trunc(ry * std::cos(t) - rx * std::sin(t))),
          Wrap(q.z - offsets_.dz),
          Wrap(NormaliseAngle(q.dir - offsets_.da))};
}

std::string Movement::OwnMove(int status) const {
  if (ghost_.frozen) return BuildOwnMove(Encode(ghost_.pos, false, status));
  return BuildOwnMove(OwnEncoded(status));
}

std::string Movement::OwnRoomPosition(int room, int status) const {
  return BuildOwnRoomPosition(room, OwnEncoded(status));
}

std::string Movement::OwnRoomEntry(int room, int status) const {
  return BuildOwnRoomEntry(room, OwnEncoded(status));
}

int Movement::RoomOf(int n) const {
  return n == kOwnObject && ghost_.Shown() ? ghost_.room : objects_.Get(n).room;
}

std::string Movement::ObjectMove(int n) const { return BuildObjectMove(n, ViewPosition(n)); }

std::string Movement::PositionBatch(const ObjectSet& set) const {
  std::vector<BatchRecord> records;
  for (int n = kOwnObject; n <= kLastObject; ++n) {
    if (set.test(n)) records.push_back({n, RoomOf(n), ViewPosition(n)});
  }
  return BuildPositionBatch(records);
}

std::string Movement::RoomPositionRecord(int n, std::string_view opaque) const {
  return BuildRoomPositionRecord(n, RoomOf(n), opaque, ViewPosition(n));
}

void Movement::Step(int g) {
  double t = Radians(objects_.Own().pos.dir + offsets_.da);
  offsets_.dx = Wrap(offsets_.dx + Trunc(g * std::cos(t)));
  offsets_.dy = Wrap(offsets_.dy + Trunc(g * std::sin(t)));
}

void Movement::Press(MoveKey key, int status) {
  switch (key) {
    case MoveKey::kPageUp: offsets_.dz = Wrap(offsets_.dz + 16); break;
    case MoveKey::kPageDown: offsets_.dz = Wrap(offsets_.dz - 16); break;
    case MoveKey::kHome: offsets_ = {}; break;
    case MoveKey::kCtrlLeft: offsets_.da = Wrap(offsets_.da + 5); break;
    case MoveKey::kCtrlRight: offsets_.da = Wrap(offsets_.da - 5); break;
    case MoveKey::kCtrlUp: Step(64); break;
    case MoveKey::kCtrlDown: Step(-64); break;
  }
  ApplyOffsets(status);
}

void Movement::ApplyOffsets(int status) {
  ToServer(OwnMove(status));
  if (ghost_.Shown()) ToHost(ObjectMove(kOwnObject));
  for (int n = kFirstOther; n <= kLastObject; ++n) {
    if (!objects_.Get(n).name.empty()) ToHost(ObjectMove(n));
  }
}

void Movement::ToggleGhost(bool shift, std::string_view current_avatar, int status) {
  if (ghost_.Shown()) {
    RemoveGhost(status);
    return;
  }
  if (current_avatar.empty()) return;
  const ObjectRecord& own = objects_.Own();
  ghost_.avatar = current_avatar;
  ToHost(BuildObjectNaming(own.name, kOwnObject));
  ghost_.frozen = shift;
  int g = shift ? 0 : kGhostAhead;
  double t = Radians(own.pos.dir + offsets_.da);
  ghost_.pos = {Wrap(own.pos.x + Trunc(g * std::cos(t)) + offsets_.dx),
                Wrap(own.pos.y + Trunc(g * std::sin(t)) + offsets_.dy),
                Wrap(own.pos.z + offsets_.dz), Wrap(own.pos.dir + offsets_.da)};
  ghost_.room = own.room;
  ObjectSet set;
  set.set(kOwnObject);
  ToHost(PositionBatch(set));
}

void Movement::RemoveGhost(int status) {
  if (!ghost_.Shown()) return;
  ghost_.avatar.clear();
  if (ghost_.frozen) {
    ghost_.frozen = false;
    ToServer(OwnMove(status));
  }
  ToHost(BuildObjectRelease(kOwnObject));
}

void Movement::NewOwnAvatar(std::string_view avatar) {
  if (!ghost_.frozen || avatar.empty()) return;
  ghost_.avatar = avatar;
  ToHost(BuildNamedObjectAvatar(objects_.Own().name, avatar));
}

// A builder answers "cannot be represented" with an empty payload; such a
// message is dropped, like any message that cannot be sent.
void Movement::ToServer(const std::string& payload) {
  if (!payload.empty()) relay_.SendToServer(payload);
}

void Movement::ToHost(const std::string& payload) {
  if (!payload.empty()) relay_.SendToHost(payload);
}

}  // namespace tellu
