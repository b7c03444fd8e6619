// DispAddBin on messages from the host.
#include "unit/chat/dispatcher_fixture.h"

namespace tellu::chat_test {
namespace {

using OutgoingTest = ChatTest;

// --- login ---------------------------------------------------------------------

TEST_F(OutgoingTest, FirstHostMessageLogsIn) {
  EXPECT_EQ(FromHost(Login("me")), Verdict::kPassOn);
  EXPECT_EQ(core.state().own_name, "me");
  EXPECT_EQ(core.objects().Own().name, "me");
  EXPECT_EQ(ui.login_items, std::vector<bool>{true});
  EXPECT_EQ(relay.to_server, std::vector<std::string>{Login("me")});
}

TEST_F(OutgoingTest, OnlyTheRunsFirstHostMessageCanLogIn) {
  LogIn("me");
  FromHost(Login("other"));  // a reconnect: the count is past 1
  EXPECT_EQ(core.state().own_name, "me");
  EXPECT_EQ(ui.login_items.size(), 1u);
}

TEST_F(OutgoingTest, LoginBehindAnotherFirstMessageIsNotTaken) {
  FromHost(B("\x01\x02"));
  FromHost(Login("me"));
  EXPECT_EQ(core.state().own_name, "");
  EXPECT_TRUE(ui.login_items.empty());
}

TEST_F(OutgoingTest, LoginReopensTheWhoWindowOnlyWithBothFlags) {
  // live: the Who-window flag at the login, -1 when nothing changed it since
  // the start; a window opened or closed before the login counts as it is now.
  for (auto [save, who, live, toggles] :
       {std::tuple{1, 1, -1, 1}, {1, 0, -1, 0}, {0, 1, -1, 0}, {1, 1, 0, 0}, {1, 0, 1, 1}}) {
    FakeUi fresh;
    settings.settings().position_save_flag = save;
    settings.settings().who_window_flag = who;
    uint64_t count = 0;
    ChatCore c(relay, settings, log, log_file, fresh, [&count] { return ++count; });
    if (live >= 0) c.state().who_window_flag = live == 1;
    c.DispAddBin(Direction::kFromHost, Login("me"));
    EXPECT_EQ(fresh.who_toggles, toggles) << save << who << live;
  }
}

// --- status and avatar ---------------------------------------------------------

TEST_F(OutgoingTest, OwnPublicLineEndsAwayOnly) {
  LogIn("me");
  core.SetStatus(kAwayStatus);
  relay.Clear();
  std::string line = B("\x01\x0E\x00\x00") + Str("back");
  EXPECT_EQ(FromHost(line), Verdict::kPassOn);
  EXPECT_EQ(core.state().status, kNormalStatus);
  // The status change reaches the server before the line itself.
  ASSERT_EQ(relay.to_server.size(), 2u);
  EXPECT_EQ(relay.to_server[0].substr(0, 3), B(kind::kOwnRoomPosition));
  EXPECT_EQ(relay.to_server[1], line);
  core.SetStatus(3);
  FromHost(line);
  EXPECT_EQ(core.state().status, 3);
  EXPECT_TRUE(log.pending().empty());  // the server's echo is what gets logged
}

TEST_F(OutgoingTest, OwnAvatarIsRecomposedAndSetsTheBaseOnce) {
  LogIn("me");
  relay.Clear();
  EXPECT_EQ(FromHost(B("\x01\x03\x05\x09") + "plain.mov"), Verdict::kSwallow);
  EXPECT_EQ(core.state().avatar_base, "");  // no backslash: tried again next time
  EXPECT_EQ(core.objects().Own().avatar, "plain.mov");
  // The length byte is not trusted: everything after it is the reference.
  FromHost(B("\x01\x03\x05\x02") + "av\\x.mov");
  FromHost(B("\x01\x03\x05\x09") + "other\\y.mov");
  EXPECT_EQ(core.state().avatar_base, "av\\");
  EXPECT_EQ(core.state().current_avatar, "other\\y.mov");
  EXPECT_EQ(core.objects().Own().avatar, "plain.mov");  // only while empty
  EXPECT_EQ(relay.to_server, (std::vector<std::string>{B("\x01\x03\x05\x09") + "plain.mov",
                                                       B("\x01\x03\x05\x08") + "av\\x.mov",
                                                       B("\x01\x03\x05\x0B") + "other\\y.mov"}));
}

TEST_F(OutgoingTest, AvatarBaseStopsAtACharacterNotATrailByte) {
  // 表 is 95 5C: its second byte is no folder separator.
  FromHost(B("\x01\x03\x05\x00") + "\x95\x5C" "d\\a.mov");
  EXPECT_EQ(core.state().avatar_base, "\x95\x5C" "d\\");
}

// --- whispers and avatar requests ----------------------------------------------

TEST_F(OutgoingTest, HostWhisperIsLogged) {
  LogIn("me");
  EXPECT_EQ(FromHost(WhisperOut("bob", "me", "hi &gt;")), Verdict::kPassOn);
  EXPECT_EQ(LogLines(), std::vector<std::string>{"{me -> bob} hi >"});
  EXPECT_EQ(FromHost(B(kind::kNamedOutgoing) + Str("bob")), Verdict::kPassOn);  // ends after the name
  EXPECT_EQ(log.size(), 1u);
}

TEST_F(OutgoingTest, AvatarRequestForOwnNameIsAnsweredWithTheGhost) {
  LogIn("me");
  FromHost(B("\x01\x03\x05\x08") + "av\\m.mov");
  core.ToggleGhost(false);
  relay.Clear();
  EXPECT_EQ(FromHost(B(kind::kNamedOutgoing) + Str("me") + B(kind::kAvatarRequest)), Verdict::kSwallow);
  EXPECT_EQ(relay.to_host, std::vector<std::string>{B(kind::kNamedOutgoing) + Str("me") +
                                                    B(kind::kAvatarProperty) + Str("av\\m.mov")});
  EXPECT_EQ(FromHost(B(kind::kNamedOutgoing) + Str("bob") + B(kind::kAvatarRequest)), Verdict::kPassOn);
}

// --- own position ----------------------------------------------------------------

TEST_F(OutgoingTest, OwnRoomPositionIsReportedWithMarks) {
  LogIn("me");
  core.SetStatus(kAwayStatus);
  relay.Clear();
  EXPECT_EQ(FromHost(B("\x01\x12\x00\x07\x33\x44") + Pos(100, 200, 100, 90)),
            Verdict::kSwallow);
  EXPECT_EQ(core.state().current_room, 7);
  EXPECT_EQ(core.objects().Own().room, 7);
  EXPECT_EQ(relay.to_server,
            std::vector<std::string>{B("\x01\x12\x00\x07\x02\x02") + Pos(100, 200, 97, 81)});
}

TEST_F(OutgoingTest, OwnRoomEntryClearsThePeopleAndTheGhost) {
  LogIn("me");
  FromHost(B("\x01\x03\x05\x08") + "av\\m.mov");
  FromServer(B(kind::kObjectNaming) + Str("amy") + '\x02');
  core.ToggleGhost(true);
  relay.Clear();
  int who = ui.who_changes;
  EXPECT_EQ(FromHost(B("\x01\x05\x00\x09") + Pos(-5, 6, 16, 0)), Verdict::kSwallow);
  EXPECT_EQ(core.objects().Get(2).name, "");
  EXPECT_FALSE(core.movement().ghost().Shown());
  EXPECT_EQ(ui.who_changes, who + 1);
  EXPECT_EQ(relay.to_host, std::vector<std::string>{B("\xFE\x0B\x01")});
  // The frozen ghost's release reports the real spot, then the entry goes out.
  EXPECT_EQ(relay.to_server, (std::vector<std::string>{B(kind::kOwnMove) + Pos(-5, 6, 17, 0),
                                                       B("\x01\x05\x00\x09") + Pos(-5, 6, 17, 0)}));
}

TEST_F(OutgoingTest, OwnMoveIsReportedWithMarks) {
  core.SetStatus(4);
  relay.Clear();
  EXPECT_EQ(FromHost(B(kind::kOwnMove) + Pos(1, 2, 40, 33)), Verdict::kSwallow);
  EXPECT_EQ(core.objects().Own().pos, (Position{1, 2, 40, 33}));
  EXPECT_EQ(relay.to_server, std::vector<std::string>{B(kind::kOwnMove) + Pos(1, 2, 33, 36)});
}

TEST_F(OutgoingTest, OtherKindsPassUntouched) {
  for (std::string p : {B("\x01"), B("\x01\x06\x03"), B("\x02\x01"), B("\xFE\x12\x01")}) {
    EXPECT_EQ(FromHost(p), Verdict::kPassOn);
    EXPECT_EQ(relay.to_server.back(), p);
  }
}

}  // namespace
}  // namespace tellu::chat_test
