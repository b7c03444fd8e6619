// A whole run through the dispatcher, as the relay would drive it: every
// byte each side receives and every byte of the log file.
#include "unit/chat/dispatcher_fixture.h"

namespace tellu::chat_test {
namespace {

std::string Say(std::string_view wire_text) { return B("\x01\x0E\x00\x00") + Str(wire_text); }

// Wire (UTF-8) pieces of the program's fixed texts.
const std::string kJoinWire = "\xE3\x80\x80\xEF\xBC\x9E";  // 　＞
const std::string kSanWire = "\xE3\x81\x95\xE3\x82\x93";   // さん
const std::string kNoticeWire =                            // 《bobさんを自動的にミュート設定しました》
    "\xE3\x80\x8A" "bob"
    "\xE3\x81\x95\xE3\x82\x93\xE3\x82\x92\xE8\x87\xAA\xE5\x8B\x95\xE7\x9A\x84\xE3\x81\xAB"
    "\xE3\x83\x9F\xE3\x83\xA5\xE3\x83\xBC\xE3\x83\x88\xE8\xA8\xAD\xE5\xAE\x9A\xE3\x81\x97"
    "\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F\xE3\x80\x8B";
const std::string kNoticeSjis =
    "\x81\x73" "bob"
    "\x82\xB3\x82\xF1\x82\xF0\x8E\xA9\x93\xAE\x93\x49\x82\xC9\x83\x7E\x83\x85\x81\x5B\x83\x67"
    "\x90\xDD\x92\xE8\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x74";

class ConversationTest : public ChatTest {
 protected:
  // What each side received since the last check.
  void Expect(const std::vector<std::string>& host, const std::vector<std::string>& server,
              int line) {
    EXPECT_EQ(relay.to_host, host) << "step at line " << line;
    EXPECT_EQ(relay.to_server, server) << "step at line " << line;
    relay.Clear();
  }
};

#define EXPECT_SENT(host, server) Expect(host, server, __LINE__)
using V = std::vector<std::string>;

TEST_F(ConversationTest, WholeRun) {
  settings.settings().greeting = {true, std::string(kEverybody), "hi"};
  settings.settings().whisper_msg = "brb";
  settings.AddMute("troll");

  // Login, avatar, room entry.
  FromHost(Login("me"));
  EXPECT_SENT(V{}, V{Login("me")});
  FromHost(B("\x01\x03\x05\x09") + "av\\me.mov");
  EXPECT_SENT(V{}, V{B("\x01\x03\x05\x09") + "av\\me.mov"});
  FromHost(B("\x01\x05\x00\x03") + Pos(100, 200, 100, 90));
  EXPECT_SENT(V{}, V{B("\x01\x05\x00\x03") + Pos(100, 200, 97, 80)});

  // amy arrives and is greeted, then moves.
  FromServer(B("\xFF\x0D") + Str("amy") + '\x02');
  FromServer(B("\x00") + Str("amy") + B("\x03\x05") + Str("av\\amy.mov"));
  FromServer(B("\xFE\x0C\x02\x00\x03") + Pos(150, 200, 97, 1));
  FromServer(B("\x02\x01") + Pos(160, 200, 97, 1));
  EXPECT_SENT((V{B("\xFF\x0D") + Str("amy") + '\x02',
                 B("\x00") + Str("amy") + B("\x03\x05") + Str("av\\amy.mov"),
                 B("\xFE\x0C\x02\x00\x03") + Pos(150, 200, 97, 1),
                 B("\x02\x01") + Pos(160, 200, 97, 1)}),
              V{Say("hi" + kJoinWire + "amy" + kSanWire)});

  // Talking and whispering.
  FromServer(ChatText("amy", "hello"));
  core.SendChatLine("amy:psst");
  FromServer(WhisperIn("amy", "hey"));
  EXPECT_SENT((V{ChatText("amy", "hello"), ChatText("me--&gt;amy", "psst"),
                 WhisperIn("amy", "hey")}),
              V{WhisperOut("amy", "me", "psst")});

  // Away: bob arrives and whispers; the automatic reply follows his whisper.
  core.SetStatus(kAwayStatus);
  EXPECT_SENT(V{}, V{B("\x01\x12\x00\x03\x02\x02") + Pos(100, 200, 97, 81)});
  FromServer(B("\xFF\x0D") + Str("bob") + '\x03');
  FromServer(B("\x00") + Str("bob") + B("\x03\x05") + Str("av\\bob.mov"));
  FromServer(B("\xFE\x0C\x03\x00\x03") + Pos(120, 220, 49, 83));
  FromServer(WhisperIn("bob", "you there?"));
  EXPECT_SENT((V{B("\xFF\x0D") + Str("bob") + '\x03',
                 B("\x00") + Str("bob") + B("\x03\x05") + Str("av\\bob.mov"),
                 B("\xFE\x0C\x03\x00\x03") + Pos(120, 220, 49, 83), WhisperIn("bob", "you there?"),
                 ChatText("me--&gt;bob", "brb")}),
              (V{Say("hi" + kJoinWire + "bob" + kSanWire), WhisperOut("bob", "me", "brb")}));

  // Back: the user's public line ends away before it goes out.
  FromHost(B("\x01\x0E\x00\x00") + Str("back"));
  FromServer(ChatText("me", "back"));
  EXPECT_SENT(V{ChatText("me", "back")},
              (V{B("\x01\x12\x00\x03\x02\x02") + Pos(100, 200, 97, 80),
                 B("\x01\x0E\x00\x00") + Str("back")}));

  // Offsets: raised 16, then home.
  core.PressMoveKey(MoveKey::kPageUp);
  EXPECT_SENT((V{B("\x02\x01") + Pos(160, 200, 81, 1), B("\x03\x01") + Pos(120, 220, 33, 83)}),
              V{B("\x01\x01") + Pos(100, 200, 113, 80)});
  core.PressMoveKey(MoveKey::kHome);
  EXPECT_SENT((V{B("\x02\x01") + Pos(160, 200, 97, 1), B("\x03\x01") + Pos(120, 220, 49, 83)}),
              V{B("\x01\x01") + Pos(100, 200, 97, 80)});

  // The ghost, 48 ahead (facing 90: along y), then gone again.
  core.ToggleGhost(false);
  core.ToggleGhost(false);
  EXPECT_SENT((V{B("\xFF\x0D") + Str("me") + '\x01',
                 B("\xFE\x0C\x01\x00\x03") + Pos(100, 248, 100, 90), B("\xFE\x0B\x01")}),
              V{});

  // A muted speaker is not heard; bob repeats himself into the mute list.
  FromServer(ChatText("troll", "buy"));
  for (int i = 0; i < 8; ++i) FromServer(ChatText("bob", "spam"));
  V host(7, ChatText("bob", "spam"));
  host.push_back(ChatText("Tellu", kNoticeWire));
  EXPECT_SENT(host, V{});
  EXPECT_EQ(profile.Get("SYS1", "MuteList"), "troll,bob");

  // amy leaves.
  FromServer(B("\xFE\x0B\x02"));
  EXPECT_SENT(V{B("\xFE\x0B\x02")}, V{});
  EXPECT_EQ(core.objects().Get(2).name, "");

  timers.SetNow({2002, 2, 3, 13, 0, 5});
  log_file.Close();
  std::string expected =
      "++++++++ Start 2002/02/03 12:34:56 ++++++++\r\n"
      "<amy> hello\r\n"
      "{me -> amy} psst\r\n"
      "{amy -> me} hey\r\n"
      "{bob -> me} you there?\r\n"
      "{me -> bob} brb\r\n"
      "<me> back\r\n";
  for (int i = 0; i < 7; ++i) expected += "<bob> spam\r\n";
  expected += "<Tellu> " + kNoticeSjis + "\r\n";
  expected += "++++++++ End   2002/02/03 13:00:05 ++++++++\r\n";
  EXPECT_EQ(LogFileBytes(), expected);
}

}  // namespace
}  // namespace tellu::chat_test
