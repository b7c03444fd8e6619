// DispAddBin on messages from the server.
#include "unit/chat/dispatcher_fixture.h"

namespace tellu::chat_test {
namespace {

class IncomingTest : public ChatTest {
 protected:
  IncomingTest() {
    LogIn("me");
    relay.Clear();
  }
  void Name(int n, std::string_view name) {
    FromServer(B(kind::kObjectNaming) + Str(name) + static_cast<char>(n));
  }
};

// --- chat lines --------------------------------------------------------------

TEST_F(IncomingTest, PublicLineIsLoggedAndPassedOn) {
  std::string line = ChatText("bob", "hi &lt;all&gt;");
  EXPECT_EQ(FromServer(line), Verdict::kPassOn);
  EXPECT_EQ(relay.to_host, std::vector<std::string>{line});
  EXPECT_EQ(LogLines(), std::vector<std::string>{"<bob> hi <all>"});
  EXPECT_EQ(LogFileBytes().substr(LogFileBytes().find("\r\n") + 2), "<bob> hi <all>\r\n");
}

TEST_F(IncomingTest, EmptySpeakerGivesAnEmptyPrefixName) {
  FromServer(B("\x01\x0E\x00\x00") + Str("notice"));
  EXPECT_EQ(LogLines(), std::vector<std::string>{"<> notice"});
}

TEST_F(IncomingTest, LineCutBeforeItsTextPassesUnlogged) {
  for (std::string cut : {B(kind::kChatText), B(kind::kWhisper) + Str("bob"),
                          B("\x01\x0E\x00\x09" "bo")}) {
    EXPECT_EQ(FromServer(cut), Verdict::kPassOn);
  }
  EXPECT_TRUE(log.pending().empty());
  EXPECT_EQ(relay.to_host.size(), 3u);
}

TEST_F(IncomingTest, WhisperIsLoggedAndRemembered) {
  EXPECT_EQ(FromServer(WhisperIn("bob", "psst")), Verdict::kPassOn);
  EXPECT_EQ(LogLines(), std::vector<std::string>{"{bob -> me} psst"});
  EXPECT_EQ(core.LastWhisperer(), "bob");
}

TEST_F(IncomingTest, MutedSpeakerIsNeitherShownNorLogged) {
  settings.AddMute("troll");
  EXPECT_EQ(FromServer(ChatText("troll", "spam")), Verdict::kSwallow);
  EXPECT_EQ(FromServer(WhisperIn("troll", "spam")), Verdict::kSwallow);
  EXPECT_TRUE(relay.to_host.empty());
  EXPECT_TRUE(log.pending().empty());
  EXPECT_EQ(core.LastWhisperer(), "");
}

TEST_F(IncomingTest, ClaimedWhisperIsNotShownLoggedOrRemembered) {
  ClaimingHook hook("ava,");
  core.set_avatar_hook(&hook);
  EXPECT_EQ(FromServer(WhisperIn("bob", "ava,req")), Verdict::kSwallow);
  EXPECT_TRUE(relay.to_host.empty());
  EXPECT_TRUE(log.pending().empty());
  EXPECT_EQ(core.LastWhisperer(), "");
  FromServer(WhisperIn("amy", "hello"));
  EXPECT_EQ(core.LastWhisperer(), "amy");
  // Offered as (text, speaker); public lines are never offered.
  FromServer(ChatText("amy", "ava,public"));
  EXPECT_EQ(hook.offers, (std::vector<std::pair<std::string, std::string>>{
                             {"ava,req", "bob"}, {"hello", "amy"}}));
}

// Which whispers ask the front end for the whisper flash.
TEST_F(IncomingTest, OnlyAShownWhisperFromSomeoneElseFlashesWhileTheSwitchIsOn) {
  struct Row {
    const char* name;
    Direction direction;
    std::string payload;
    const char* muted;
    int switch_on;
    int auto_reply;
    int flashes;
  };
  const Row rows[] = {
      {"whisper to me", Direction::kFromServer, WhisperIn("bob", "psst"), "", 1, 0, 1},
      {"answered by the automatic reply", Direction::kFromServer, WhisperIn("bob", "there?"), "", 1, 1, 1},
      {"public line", Direction::kFromServer, ChatText("bob", "hi all"), "", 1, 0, 0},
      {"the user's whisper to someone else", Direction::kFromHost, WhisperOut("amy", "me", "hi"), "", 1, 0, 0},
      {"the user's whisper to their own name", Direction::kFromServer, WhisperIn("me", "note"), "", 1, 0, 0},
      {"muted sender", Direction::kFromServer, WhisperIn("troll", "psst"), "troll", 1, 0, 0},
      {"swallowed by the exchange", Direction::kFromServer, WhisperIn("bob", "ava,req"), "", 1, 0, 0},
      {"switch off", Direction::kFromServer, WhisperIn("bob", "hello"), "", 0, 0, 0},
  };
  ClaimingHook hook("ava,");
  core.set_avatar_hook(&hook);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Settings& s = settings.settings();
    s.mute_list.clear();
    if (*row.muted) settings.AddMute(row.muted);
    s.whisper_flash = row.switch_on;
    s.whisper_sw = row.auto_reply;
    s.whisper_msg = row.auto_reply ? "away" : "";
    ui.whisper_flashes = 0;
    if (row.direction == Direction::kFromServer)
      FromServer(row.payload);
    else
      FromHost(row.payload);
    EXPECT_EQ(ui.whisper_flashes, row.flashes);
  }
}

TEST_F(IncomingTest, LogWindowIsToldOnlyWhileRealTime) {
  FromServer(ChatText("bob", "one"));
  EXPECT_EQ(ui.log_changes, 0);  // no window open
  LogWindowModel window(log);
  core.set_log_window(&window);
  FromServer(ChatText("bob", "two"));
  EXPECT_EQ(ui.log_changes, 1);
  window.ToggleFreeze();
  FromServer(ChatText("bob", "three"));
  FromServer(B("\xFE\x0B\x05"));  // no chat line: nothing to tell
  EXPECT_EQ(ui.log_changes, 1);
}

TEST_F(IncomingTest, FullStoreDropsTheOldestShownLine) {
  for (int i = 0; i < 1024; ++i) FromServer(ChatText("bob", "line" + std::to_string(i)));
  log.TakePending();
  FromServer(ChatText("bob", "last"));
  EXPECT_EQ(log.size(), 1024u);
  EXPECT_EQ(log.shown().front().text, "line1");
  EXPECT_EQ(log.pending().back().text, "last");
  EXPECT_EQ(log.fill(), 100);
}

// --- objects -----------------------------------------------------------------

TEST_F(IncomingTest, NamingIsRebuiltEvenForAnObjectOutsideTheTable) {
  EXPECT_EQ(FromServer(B(kind::kObjectNaming) + Str("zed") + '\x0C'), Verdict::kSwallow);
  EXPECT_EQ(relay.to_host, std::vector<std::string>{B(kind::kObjectNaming) + Str("zed") + '\x0C'});
  for (int n = 2; n <= 11; ++n) EXPECT_EQ(core.objects().Get(n).name, "");
  Name(3, "amy");
  EXPECT_EQ(core.objects().Get(3).name, "amy");
  EXPECT_EQ(ui.who_changes, 2);
}

TEST_F(IncomingTest, PositionBatchKeepsOnlyOtherPeople) {
  auto record = [](int n, int room, std::string pos) {
    return std::string{static_cast<char>(n), '\x00', static_cast<char>(room)} + pos;
  };
  std::string batch = B(kind::kPositionBatch) + record(0, 7, Pos(1, 1, 1, 1)) +
                      record(3, 7, Pos(10, 20, 33, 45)) + record(12, 7, Pos(2, 2, 2, 2));
  EXPECT_EQ(FromServer(batch), Verdict::kSwallow);
  EXPECT_EQ(relay.to_host,
            std::vector<std::string>{B(kind::kPositionBatch) + record(3, 7, Pos(10, 20, 33, 45))});
  EXPECT_EQ(core.objects().Get(3).pos, (Position{10, 20, 33, 45}));
  EXPECT_EQ(core.objects().Get(3).room, 7);
}

TEST_F(IncomingTest, MovesOfOtherPeopleAreRebuiltAndOthersPassOn) {
  EXPECT_EQ(FromServer(B("\x04\x01") + Pos(5, 6, 7, 8)), Verdict::kSwallow);
  EXPECT_EQ(core.objects().Get(4).pos, (Position{5, 6, 7, 8}));
  EXPECT_EQ(relay.to_host.back(), B("\x04\x01") + Pos(5, 6, 7, 8));
  for (std::string other : {B("\x01\x01") + Pos(1, 1, 1, 1), B("\x0C\x01") + Pos(1, 1, 1, 1)}) {
    EXPECT_EQ(FromServer(other), Verdict::kPassOn);
    EXPECT_EQ(relay.to_host.back(), other);
  }
  EXPECT_EQ(core.objects().Own().pos, Position{});
}

TEST_F(IncomingTest, AMoveTellsTheWhoWindowOnlyOfANewPictureOrMark) {
  struct Case {
    Position to;
    int who;
  } cases[] = {{{9, 9, 0, 0}, 0},      // a plain move
               {{9, 9, 97, 81}, 1},    // a Tellu user, away
               {{1, 1, 1, 1}, 0},      // away still
               {{1, 1, 1, 9}, 1},      // bit 3: normal
               {{1, 1, 15, 9}, 1},     // "#"
               {{1, 1, 31, 0}, 0}};    // "#" still
  Name(4, "amy");
  for (const Case& c : cases) {
    const int who = ui.who_changes;
    FromServer(B("\x04\x01") + Pos(c.to.x, c.to.y, c.to.z, c.to.dir));
    EXPECT_EQ(ui.who_changes - who, c.who) << c.to.z << " " << c.to.dir;
  }
  // Nobody to show: an unnamed object's status changes nothing.
  const int who = ui.who_changes;
  FromServer(B("\x06\x01") + Pos(0, 0, 97, 81));
  EXPECT_EQ(ui.who_changes, who);
}

TEST_F(IncomingTest, OneByteNameIsANamedObjectMessageNotAMove) {
  Name(2, "a");
  relay.Clear();
  EXPECT_EQ(
      FromServer(B(kind::kNamedObject) + Str("a") + B(kind::kAvatarProperty) + Str("av\\a.mov")),
      Verdict::kSwallow);
  EXPECT_EQ(core.objects().Get(2).avatar, "av\\a.mov");
}

TEST_F(IncomingTest, EventBatchSkipsBadRecordsWithoutStopping) {
  EXPECT_EQ(FromServer(B("\xFE\x04\x01\xAA\xBB\xCC\x05\x11\x22\x33\x0B\x44")), Verdict::kSwallow);
  EXPECT_EQ(relay.to_host, (std::vector<std::string>{B("\xFE\x04\x05\x11\x22\x33"),
                                                     B("\xFE\x04\x0B\x44\x00\x00")}));
}

TEST_F(IncomingTest, NamedObjectSetsTheAvatarOfAKnownPersonOnly) {
  Name(5, "amy");
  relay.Clear();
  int who = ui.who_changes;
  std::string unknown =
      B(kind::kNamedObject) + Str("zed") + B(kind::kAvatarProperty) + Str("av\\z.mov");
  EXPECT_EQ(FromServer(unknown), Verdict::kPassOn);
  EXPECT_EQ(ui.who_changes, who);
  // The two bytes after the name are not examined.
  EXPECT_EQ(FromServer(B(kind::kNamedObject) + Str("amy") + B("\x09\x09") + Str("av\\amy.mov")),
            Verdict::kSwallow);
  EXPECT_EQ(core.objects().Get(5).avatar, "av\\amy.mov");
  EXPECT_EQ(relay.to_host,
            (std::vector<std::string>{unknown, B(kind::kNamedObject) + Str("amy") +
                                                   B(kind::kAvatarProperty) + Str("av\\amy.mov")}));
  EXPECT_EQ(ui.who_changes, who + 1);
}

TEST_F(IncomingTest, RoomPositionBatchEmptiesPeopleOfAnotherRoom) {
  FromHost(B("\x01\x05\x00\x07") + Pos(0, 0, 0, 0));  // current room 7
  Name(2, "amy");
  Name(3, "bob");
  relay.Clear();
  int who = ui.who_changes;
  auto record = [](int n, int room, std::string pos) {
    return std::string{static_cast<char>(n), '\x00', static_cast<char>(room), '\x61', '\x62'} + pos;
  };
  std::string batch = B(kind::kRoomPositionBatch) + record(2, 7, Pos(1, 2, 3, 4)) +
                      record(3, 9, Pos(5, 6, 7, 8)) + record(12, 7, Pos(0, 0, 0, 0));
  EXPECT_EQ(FromServer(batch), Verdict::kSwallow);
  EXPECT_EQ(core.objects().Get(2).name, "amy");
  EXPECT_EQ(core.objects().Get(3).name, "");
  EXPECT_EQ(core.objects().Get(3).room, 9);
  EXPECT_EQ(relay.to_host, (std::vector<std::string>{
                               B(kind::kRoomPositionBatch) + record(2, 7, Pos(1, 2, 3, 4)),
                               B(kind::kRoomPositionBatch) + record(3, 9, Pos(5, 6, 7, 8))}));
  EXPECT_EQ(ui.who_changes, who + 1);
}

TEST_F(IncomingTest, ARoomPositionOfTheUserShowsTheStoredPositionOrTheGhost) {
  FromHost(B("\x01\x05\x00\x07") + Pos(100, 200, 0x41, 0));  // own room entry, room 7
  auto record = [](int room, const Position& p) {
    return B("\xFE\x12\x01\x00") + static_cast<char>(room) + "ab" + Pos(p.x, p.y, p.z, p.dir);
  };
  const Position told{300, 400, 5, 6};
  // No ghost: the host sees what the server said, not the zeros of a ghost.
  relay.Clear();
  FromServer(record(9, told));
  EXPECT_EQ(relay.to_host, std::vector<std::string>{record(9, told)});
  // While the ghost is shown object 1 is the ghost, in the ghost's room.
  FromHost(B("\x01\x05\x00\x07") + Pos(100, 200, 0x41, 0));
  core.state().current_avatar = "av\\me.mov";
  core.ToggleGhost(false);
  const Ghost ghost = core.movement().ghost();
  ASSERT_TRUE(ghost.Shown());
  ASSERT_EQ(ghost.room, 7);
  relay.Clear();
  FromServer(record(9, told));
  EXPECT_EQ(relay.to_host, std::vector<std::string>{record(7, ghost.pos)});
  EXPECT_EQ(core.objects().Get(1).pos, told);
}

TEST_F(IncomingTest, ReleaseEmptiesAndStillReachesTheHost) {
  Name(5, "amy");
  EXPECT_EQ(FromServer(B("\xFE\x0B\x05\x00\xFF")), Verdict::kPassOn);
  EXPECT_EQ(core.objects().Get(5).name, "");
  EXPECT_EQ(relay.to_host.back(), B("\xFE\x0B\x05\x00\xFF"));
}

TEST_F(IncomingTest, UnknownKindsPassUntouched) {
  for (std::string p : {B("\x01"), B("\x01\x02\x03"), B("\xFE\x99\x01"), B("\x05\x07")}) {
    EXPECT_EQ(FromServer(p), Verdict::kPassOn);
    EXPECT_EQ(relay.to_host.back(), p);
  }
  EXPECT_EQ(core.DispAddBin(static_cast<Direction>(2), B(kind::kChatText) + Str("x") + Str("y")), Verdict::kPassOn);
  EXPECT_TRUE(log.pending().empty());
}

}  // namespace
}  // namespace tellu::chat_test
