#include <gtest/gtest.h>

#include "chat/movement.h"
#include "unit/chat/movement_recording_relay.h"

namespace tellu {
namespace {

constexpr int kNormal = 0;
constexpr int kAway = 1;

class MovementTest : public ::testing::Test {
 protected:
  MovementTest() {
    objects.SetObject(1, "me", "");
    objects.SetPosition(1, kOwn);
    objects.SetRoom(1, 7);
  }

  void Place(int n, std::string name, Position pos) {
    objects.SetObject(n, name, "");
    objects.SetPosition(n, pos);
    objects.SetRoom(n, 7);
  }

  Position SentOwnMove(std::size_t i = 0) const {
    EXPECT_LT(i, relay.to_server.size());
    if (i >= relay.to_server.size()) return {};
    EXPECT_EQ(relay.to_server[i].substr(0, 2), Bytes("\x01\x01"));
    return PayloadReader(relay.to_server[i], 2).ReadPosition();
  }

  const Position kOwn{1000, 2000, 97, 0};
  ObjectTable objects;
  RecordingRelay relay;
  Movement move{objects, relay};
};

// --- what the server is told ---------------------------------------------

TEST_F(MovementTest, EncodedPositionCarriesZMarkAndStatus) {
  objects.SetPosition(1, Position{1000, 2000, 100, 90});
  EXPECT_EQ(move.OwnEncoded(kNormal), (Position{1000, 2000, 97, 80}));
  EXPECT_EQ(move.OwnEncoded(kAway), (Position{1000, 2000, 97, 81}));
}

TEST_F(MovementTest, EncodedMarksReadBackAsThisProgramsStatus) {
  for (int16_t z : {-40, -1, 0, 11, 12, 100, 32000}) {
    for (int status = 0; status <= 6; ++status) {
      objects.SetPosition(1, Position{0, 0, z, 45});
      Mark mark = MarkOf(move.OwnEncoded(status));
      EXPECT_EQ(mark.companion, Companion::kTellu) << z;
      EXPECT_EQ(mark.status, status) << z;
    }
  }
}

TEST_F(MovementTest, WithoutOffsetsOnlyTheMarksChange) {
  move.ApplyOffsets(kNormal);
  EXPECT_EQ(SentOwnMove(), kOwn);
  EXPECT_EQ(move.OwnRoomPosition(7, kNormal), BuildOwnRoomPosition(7, kOwn));
  EXPECT_EQ(move.OwnRoomEntry(7, kNormal), BuildOwnRoomEntry(7, kOwn));
}

TEST_F(MovementTest, SumsWrapAtSixteenBits) {
  objects.SetPosition(1, Position{32767, 0, 32767, 0});
  move.Press(MoveKey::kCtrlUp, kNormal);  // dx = 64
  Position p = move.OwnEncoded(kNormal);
  EXPECT_EQ(p.x, -32705);
  EXPECT_EQ(p.z & 0x0F, 1) << "z mark survives the wrap";
}

// --- keys ----------------------------------------------------------------

TEST_F(MovementTest, CtrlUpStepsAlongTheFacing) {
  move.Press(MoveKey::kCtrlUp, kNormal);
  EXPECT_EQ(move.offsets().dx, 64);
  EXPECT_EQ(move.offsets().dy, 0);
  EXPECT_EQ(SentOwnMove().x, 1064);

  move.Press(MoveKey::kHome, kNormal);
  objects.SetPosition(1, Position{1000, 2000, 97, 90});
  move.Press(MoveKey::kCtrlUp, kNormal);
  EXPECT_EQ(move.offsets().dx, 0);
  EXPECT_EQ(move.offsets().dy, 64);
  move.Press(MoveKey::kCtrlDown, kNormal);
  EXPECT_EQ(move.offsets().dy, 0);
}

TEST_F(MovementTest, PageKeysLiftAndWrap) {
  move.Press(MoveKey::kPageUp, kNormal);
  EXPECT_EQ(move.offsets().dz, 16);
  move.Press(MoveKey::kPageDown, kNormal);
  move.Press(MoveKey::kPageDown, kNormal);
  EXPECT_EQ(move.offsets().dz, -16);
  for (int i = 0; i < 2048; ++i) move.Press(MoveKey::kPageDown, kNormal);
  EXPECT_EQ(move.offsets().dz, 32752) << "-16 - 32768 wraps";
}

TEST_F(MovementTest, TurnAccumulatesWithoutNormalising) {
  Place(2, "ann", {1100, 2000, 97, 0});
  for (int i = 0; i < 73; ++i) move.Press(MoveKey::kCtrlLeft, kNormal);
  EXPECT_EQ(move.offsets().da, 365);
  EXPECT_EQ(move.ViewPosition(2).dir, -5);
  move.Press(MoveKey::kCtrlRight, kNormal);
  EXPECT_EQ(move.ViewPosition(2), (Position{1100, 2000, 97, 0})) << "a full turn is no turn";
}

TEST_F(MovementTest, TurningShowsOthersTurnedTheOtherWay) {
  Place(2, "ann", {1100, 2000, 97, 30});  // 100 straight ahead
  for (int i = 0; i < 3; ++i) move.Press(MoveKey::kCtrlLeft, kNormal);
  // 100 * cos 15deg = 96.6, 100 * sin 15deg = 25.9; -25 not -26: toward zero.
  EXPECT_EQ(move.ViewPosition(2), (Position{1096, 1975, 97, 15}));
  ASSERT_FALSE(relay.to_host.empty());
  EXPECT_EQ(relay.to_host.back(), BuildObjectMove(2, {1096, 1975, 97, 15}));
}

TEST_F(MovementTest, LiftAndShiftAreTakenOffOthers) {
  Place(3, "bob", {1000, 2100, 200, 45});
  move.Press(MoveKey::kPageUp, kNormal);
  move.Press(MoveKey::kCtrlUp, kNormal);
  EXPECT_EQ(move.ViewPosition(3), (Position{936, 2100, 184, 45}));
}

TEST_F(MovementTest, ApplyOffsetsTellsServerThenEachNamedObject) {
  Place(5, "eve", {1, 2, 3, 4});
  Place(3, "bob", {5, 6, 7, 8});
  objects.SetPosition(4, Position{9, 9, 9, 9});  // free: not shown
  move.ApplyOffsets(kNormal);
  ASSERT_EQ(relay.to_server.size(), 1u);
  ASSERT_EQ(relay.to_host.size(), 2u);
  EXPECT_EQ(relay.to_host[0], BuildObjectMove(3, {5, 6, 7, 8}));
  EXPECT_EQ(relay.to_host[1], BuildObjectMove(5, {1, 2, 3, 4}));
}

TEST_F(MovementTest, HomeRestoresWhatTheServerSays) {
  Place(2, "ann", {1300, 1700, 50, -90});
  move.Press(MoveKey::kCtrlLeft, kNormal);
  move.Press(MoveKey::kCtrlUp, kNormal);
  move.Press(MoveKey::kPageUp, kNormal);
  relay.Clear();
  move.Press(MoveKey::kHome, kNormal);
  EXPECT_EQ(SentOwnMove(), kOwn);
  ASSERT_EQ(relay.to_host.size(), 1u);
  EXPECT_EQ(relay.to_host[0], BuildObjectMove(2, {1300, 1700, 50, -90}));
}

TEST_F(MovementTest, ViewOfAnUnknownNumberIsTheOwnPosition) {
  EXPECT_EQ(move.ViewPosition(0), kOwn);
  EXPECT_EQ(move.ViewPosition(12), kOwn);
  EXPECT_EQ(move.ViewPosition(-3), kOwn);
}

TEST_F(MovementTest, PositionBatchListsTheSetAscending) {
  Place(9, "ann", {1, 2, 3, 4});
  Place(2, "bob", {5, 6, 7, 8});
  objects.SetRoom(9, 3);
  ObjectSet set;
  set.set(9);
  set.set(2);
  std::vector<BatchRecord> expected{{2, 7, {5, 6, 7, 8}}, {9, 3, {1, 2, 3, 4}}};
  EXPECT_EQ(move.PositionBatch(set), BuildPositionBatch(expected));
  EXPECT_EQ(move.RoomPositionRecord(9, "ab"), BuildRoomPositionRecord(9, 3, "ab", {1, 2, 3, 4}));
}

// --- the ghost -----------------------------------------------------------

TEST_F(MovementTest, F3TwiceShowsTheGhostAheadThenReleasesIt) {
  move.ToggleGhost(false, "av\\me.mov", kNormal);
  EXPECT_TRUE(move.ghost().Shown());
  EXPECT_FALSE(move.ghost().frozen);
  EXPECT_EQ(move.ghost().pos, (Position{1048, 2000, 97, 0}));
  ASSERT_EQ(relay.to_host.size(), 2u);
  EXPECT_EQ(relay.to_host[0], BuildObjectNaming("me", 1));
  std::vector<BatchRecord> ghost{{1, 7, {1048, 2000, 97, 0}}};
  EXPECT_EQ(relay.to_host[1], BuildPositionBatch(ghost));
  EXPECT_TRUE(relay.to_server.empty());

  relay.Clear();
  move.ToggleGhost(false, "av\\me.mov", kNormal);
  EXPECT_FALSE(move.ghost().Shown());
  ASSERT_EQ(relay.to_host.size(), 1u);
  EXPECT_EQ(relay.to_host[0], BuildObjectRelease(1));
  EXPECT_TRUE(relay.to_server.empty()) << "the server never saw the ghost";
}

TEST_F(MovementTest, GhostAppearsAheadInTheHostWhateverTheTurn) {
  for (int i = 0; i < 18; ++i) move.Press(MoveKey::kCtrlLeft, kNormal);  // da = 90
  relay.Clear();
  move.ToggleGhost(false, "av\\me.mov", kNormal);
  EXPECT_EQ(move.ghost().pos, (Position{1000, 2048, 97, 90}));
  EXPECT_EQ(move.ViewPosition(1), (Position{1048, 2000, 97, 0}));
}

TEST_F(MovementTest, ApplyOffsetsMovesAShownGhostFirst) {
  Place(2, "ann", {1, 2, 3, 4});
  move.ToggleGhost(false, "av\\me.mov", kNormal);
  relay.Clear();
  move.ApplyOffsets(kNormal);
  ASSERT_EQ(relay.to_host.size(), 2u);
  EXPECT_EQ(relay.to_host[0], BuildObjectMove(1, {1048, 2000, 97, 0}));
  EXPECT_EQ(relay.to_host[1].substr(0, 2), Bytes("\x02\x01"));
}

TEST_F(MovementTest, FrozenGhostKeepsTheReportedPosition) {
  move.ToggleGhost(true, "av\\me.mov", kAway);
  EXPECT_TRUE(move.ghost().frozen);
  EXPECT_EQ(move.ghost().pos, kOwn);
  objects.SetPosition(1, Position{1500, 2500, 97, 90});  // the host walks on
  move.ApplyOffsets(kAway);
  EXPECT_EQ(SentOwnMove(), (Position{1000, 2000, 97, 1}));
  EXPECT_EQ(move.OwnRoomEntry(7, kAway), BuildOwnRoomEntry(7, {1500, 2500, 97, 81}))
      << "room messages always carry the own position";
}

TEST_F(MovementTest, FreezingWithOffsetsDoesNotMoveTheUserForOthers) {
  move.Press(MoveKey::kCtrlUp, kNormal);
  move.Press(MoveKey::kPageUp, kNormal);
  Position before = SentOwnMove(1);
  relay.Clear();
  move.ToggleGhost(true, "av\\me.mov", kNormal);
  EXPECT_EQ(move.ViewPosition(1), kOwn) << "shown where the user stands";
  move.ApplyOffsets(kNormal);
  EXPECT_EQ(SentOwnMove(), before);
  move.Press(MoveKey::kPageUp, kNormal);
  EXPECT_EQ(SentOwnMove(1), before) << "the report stays with the ghost";
}

TEST_F(MovementTest, RemovingAFrozenGhostReportsTheRealPositionAgain) {
  move.ToggleGhost(true, "av\\me.mov", kNormal);
  objects.SetPosition(1, Position{1500, 2500, 97, 90});
  relay.Clear();
  move.RemoveGhost(kNormal);
  EXPECT_FALSE(move.ghost().Shown());
  EXPECT_FALSE(move.ghost().frozen);
  EXPECT_EQ(SentOwnMove(), (Position{1500, 2500, 97, 80}));
  ASSERT_EQ(relay.to_host.size(), 1u);
  EXPECT_EQ(relay.to_host[0], BuildObjectRelease(1));

  relay.Clear();
  move.RemoveGhost(kNormal);
  EXPECT_TRUE(relay.to_server.empty());
  EXPECT_TRUE(relay.to_host.empty());
}

TEST_F(MovementTest, NoCurrentAvatarNoGhost) {
  move.ToggleGhost(true, "", kNormal);
  EXPECT_FALSE(move.ghost().Shown());
  EXPECT_FALSE(move.ghost().frozen);
  EXPECT_TRUE(relay.to_host.empty());
}

TEST_F(MovementTest, NewAvatarDressesOnlyAFrozenGhost) {
  move.NewOwnAvatar("av\\new.mov");
  EXPECT_TRUE(relay.to_host.empty());
  move.ToggleGhost(false, "av\\me.mov", kNormal);
  relay.Clear();
  move.NewOwnAvatar("av\\new.mov");
  EXPECT_EQ(move.ghost().avatar, "av\\me.mov");
  EXPECT_TRUE(relay.to_host.empty());

  move.ToggleGhost(false, "", kNormal);
  move.ToggleGhost(true, "av\\me.mov", kNormal);
  relay.Clear();
  move.NewOwnAvatar("av\\new.mov");
  EXPECT_EQ(move.ghost().avatar, "av\\new.mov");
  ASSERT_EQ(relay.to_host.size(), 1u);
  EXPECT_EQ(relay.to_host[0], BuildNamedObjectAvatar("me", "av\\new.mov"));
  move.NewOwnAvatar("");
  EXPECT_TRUE(move.ghost().Shown());
}

}  // namespace
}  // namespace tellu
