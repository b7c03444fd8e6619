// Virtual movement and the ghost: offsets that shift and turn the user's avatar
// for everyone else, and the copy of it shown to the host.
//
// Every stored value is a signed 16-bit integer and wraps as one: a sum or a
// step that leaves -32768..32767 keeps its low 16 bits, exactly as the wire
// would carry it.  da accumulates key presses without being normalised.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "chat/objects.h"
#include "chat/wire.h"
#include "relay/relay_port.h"

namespace tellu {

struct Offsets {
  int16_t dx = 0, dy = 0, dz = 0, da = 0;
};

struct Ghost {
  std::string avatar;   // the ghost is shown exactly while this is not empty
  bool frozen = false;  // the server is told the ghost's position
  Position pos;
  int16_t room = 0;
  bool Shown() const { return !avatar.empty(); }
};

enum class MoveKey {
  kPageUp,      // dz += 16
  kPageDown,    // dz -= 16
  kHome,        // all offsets 0
  kCtrlLeft,    // da += 5
  kCtrlRight,   // da -= 5
  kCtrlUp,      // Step(64)
  kCtrlDown,    // Step(-64)
};

// `status` arguments are the user's status index, carried in the low four
// bits of the reported dir (only those four bits of it are used).
class Movement {
 public:
  Movement(ObjectTable& objects, RelayPort& relay);

  const Offsets& offsets() const { return offsets_; }
  const Ghost& ghost() const { return ghost_; }

  // The own position (object 1) shifted by the offsets, with the z mark and
  // the status: what own room position and own room entry carry.
  Position OwnEncoded(int status) const;
  // Where the host is to show object n: its stored position seen from the
  // virtual spot.  Object 1 is the ghost while it is shown and the stored own
  // position otherwise; a number outside 1..11 stands for the own position.
  Position ViewPosition(int n) const;

  // Payloads for the server.  While frozen the own move carries the ghost's
  // position; it already holds the offsets in force when it was placed, so
  // they are not added a second time (the user's avatar stays with the ghost
  // for everyone even when the offsets change).
  std::string OwnMove(int status) const;
  std::string OwnRoomPosition(int room, int status) const;
  std::string OwnRoomEntry(int room, int status) const;

  // Payloads for the host, with view positions and each object's room (the
  // ghost's room for object 1 while it is shown).
  std::string ObjectMove(int n) const;
  // Records for the members of `set` that are objects 1..11, ascending.
  std::string PositionBatch(const ObjectSet& set) const;
  std::string RoomPositionRecord(int n, std::string_view opaque) const;

  // Moves the virtual spot g units along the current facing.
  void Step(int g);
  // One key operation, then ApplyOffsets.
  void Press(MoveKey key, int status);
  // Tells the server the own move and shows the host every object (the ghost
  // and each named object 2..11) from the virtual spot.
  void ApplyOffsets(int status);

  // F3 (shift false) and Shift+F3: removes a shown ghost; otherwise shows one
  // wearing `current_avatar`, 48 units ahead or, shifted, frozen at the
  // user's spot.  Without a current avatar there is nothing to show (a ghost
  // with an empty avatar could never be removed), so nothing happens.
  void ToggleGhost(bool shift, std::string_view current_avatar, int status);
  // Does nothing while no ghost is shown.
  void RemoveGhost(int status);
  // The user changed avatar: a frozen ghost wears the new one.  An empty
  // reference is ignored, as it would leave the frozen ghost unremovable.
  void NewOwnAvatar(std::string_view avatar);

 private:
  Position Encode(const Position& base, bool add_offsets, int status) const;
  int RoomOf(int n) const;
  void ToServer(const std::string& payload);
  void ToHost(const std::string& payload);

  ObjectTable& objects_;
  RelayPort& relay_;
  Offsets offsets_;
  Ghost ghost_;
};

}  // namespace tellu
