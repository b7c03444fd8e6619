// The chat voice: chat lines, whispers, system lines and the automatic
// reactions.
#include "unit/chat/dispatcher_fixture.h"

namespace tellu::chat_test {
namespace {

const std::string kEverybodyText(kEverybody);
const std::string kJoin = "\x81\x40\x81\x84";  // 　＞
const std::string kSan = "\x82\xB3\x82\xF1";   // さん

std::string Say(std::string_view text) { return B("\x01\x0E\x00\x00") + Str(text); }

class VoiceTest : public ChatTest {
 protected:
  VoiceTest() {
    LogIn("me");
    relay.Clear();
  }
  void Arrive(int n, std::string_view name) {
    FromServer(B("\xFF\x0D") + Str(name) + static_cast<char>(n));
    FromServer(B("\x00") + Str(name) + B("\x03\x05") + Str("av\\x.mov"));
  }
};

// --- send chat line --------------------------------------------------------------

TEST_F(VoiceTest, ColonWithinTheFirstTwelveBytesWhispers) {
  core.SendChatLine("abc:hello");
  core.SendChatLine("a:");                    // only two bytes
  core.SendChatLine(":hello");                // colon at offset 0
  core.SendChatLine("abcdefghijklm:hello");   // first colon at offset 13
  core.SendChatLine("abcdefghijkl:hi");       // offset 12
  EXPECT_EQ(relay.to_server,
            (std::vector<std::string>{WhisperOut("abc", "me", "hello"), Say("a:"), Say(":hello"),
                                      Say("abcdefghijklm:hello"),
                                      WhisperOut("abcdefghijkl", "me", "hi")}));
}

TEST_F(VoiceTest, LeadingTabWhispersTheWholeLineToTheLastTarget) {
  core.SendChatLine("bob:first");
  relay.Clear();
  core.SendChatLine("\tagain");
  EXPECT_EQ(relay.to_server, std::vector<std::string>{WhisperOut("bob", "me", "\tagain")});
}

// --- whisper ---------------------------------------------------------------------

TEST_F(VoiceTest, WhisperIsLoggedAndEchoedToTheHost) {
  core.Whisper("bob", "hi", true);
  EXPECT_EQ(relay.to_server, std::vector<std::string>{WhisperOut("bob", "me", "hi")});
  EXPECT_EQ(relay.to_host, std::vector<std::string>{ChatText("me--&gt;bob", "hi")});
  EXPECT_EQ(LogLines(), std::vector<std::string>{"{me -> bob} hi"});
  EXPECT_EQ(core.state().last_whisper_target, "bob");
}

TEST_F(VoiceTest, ExchangeWhispersAreNeitherRememberedNorShown) {
  core.Whisper("bob", "ava,x", false);
  EXPECT_EQ(relay.to_server.size(), 1u);
  EXPECT_TRUE(relay.to_host.empty());
  EXPECT_TRUE(log.pending().empty());
  EXPECT_EQ(core.state().last_whisper_target, "");
}

TEST_F(VoiceTest, WhisperToOneselfIsOfferedToTheExchange) {
  ClaimingHook hook("ava,");
  core.set_avatar_hook(&hook);
  core.Whisper("me", "ava,test", true);
  EXPECT_EQ(hook.offers, (std::vector<std::pair<std::string, std::string>>{{"ava,test", "me"}}));
  EXPECT_EQ(relay.to_server.size(), 1u);  // still sent
  EXPECT_TRUE(relay.to_host.empty());
  EXPECT_EQ(core.state().last_whisper_target, "");
  core.Whisper("bob", "ava,other", true);  // only the own name is offered
  EXPECT_EQ(hook.offers.size(), 1u);
}

// --- system line -----------------------------------------------------------------

TEST_F(VoiceTest, SystemLineIsLoggedAndShownEvenWhenTelluIsMuted) {
  core.SystemLine("note");
  settings.AddMute("Tellu");
  core.SystemLine("again");
  EXPECT_EQ(relay.to_host, (std::vector<std::string>{ChatText("Tellu", "note"),
                                                     ChatText("Tellu", "again")}));
  EXPECT_EQ(LogLines(), std::vector<std::string>{"<Tellu> note"});
}

// --- automatic whisper reply -----------------------------------------------------

TEST_F(VoiceTest, AwayReplyFollowsTheWhisperOncePerText) {
  settings.settings().whisper_msg = "away";
  core.SetStatus(kAwayStatus);
  relay.Clear();
  std::string w = WhisperIn("bob", "hey");
  EXPECT_EQ(FromServer(w), Verdict::kSwallow);
  EXPECT_EQ(relay.both, (std::vector<std::pair<Direction, std::string>>{
                            {Direction::kFromServer, w},
                            {Direction::kFromHost, WhisperOut("bob", "me", "away")},
                            {Direction::kFromServer, ChatText("me--&gt;bob", "away")}}));
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"{bob -> me} hey", "{me -> bob} away"}));
  relay.Clear();
  EXPECT_EQ(FromServer(w), Verdict::kPassOn);  // same text again: no second reply
  EXPECT_EQ(relay.to_server.size(), 0u);
  FromServer(WhisperIn("bob", "hello?"));
  EXPECT_EQ(relay.to_server, std::vector<std::string>{WhisperOut("bob", "me", "away")});
}

TEST_F(VoiceTest, ReplyNeedsATextAndAwayOrTheSwitch) {
  FromServer(WhisperIn("bob", "1"));
  settings.settings().whisper_sw = 1;
  FromServer(WhisperIn("bob", "2"));  // no text to reply with
  EXPECT_TRUE(relay.to_server.empty());
  settings.settings().whisper_msg = "busy";
  FromServer(WhisperIn("bob", "3"));
  EXPECT_EQ(relay.to_server, std::vector<std::string>{WhisperOut("bob", "me", "busy")});
}

TEST_F(VoiceTest, ReplyToALongHandleIsPublicAndAColonHandleStaysAWhisper) {
  settings.settings().whisper_msg = "away";
  settings.settings().whisper_sw = 1;
  FromServer(WhisperIn("averyveryverylongname", "hi"));
  FromServer(WhisperIn("x:y", "hi"));
  EXPECT_EQ(relay.to_server,
            (std::vector<std::string>{Say("averyveryverylongname:away"),
                                      WhisperOut("x:y", "me", "away")}));
}

// A text of tellu.ini written by hand that is not Shift-JIS would reach the
// chat as something else: such a reply or greeting is not sent at all.
TEST_F(VoiceTest, AReplyOrGreetingThatCannotBeSentIsNone) {
  const struct {
    std::string text;
    bool sent;
  } cases[] = {{"away\x82", false},      {"\x85\x40", false}, {"a\x82 b", false},
               {"\x82\xA0\x5C\xB1", true}, {"away", true}};
  for (const auto& c : cases) {
    relay.Clear();
    settings.settings().whisper_msg = c.text;
    settings.settings().whisper_sw = 1;
    const std::string w = WhisperIn("bob", "hey " + c.text);
    EXPECT_EQ(FromServer(w), c.sent ? Verdict::kSwallow : Verdict::kPassOn) << c.text;
    EXPECT_EQ(relay.to_server, c.sent ? std::vector<std::string>{BuildWhisper("bob", "me", c.text)}
                                      : std::vector<std::string>{})
        << c.text;
    relay.Clear();
    settings.settings().greeting = {true, "amy", c.text};
    Arrive(3, "amy");
    EXPECT_EQ(relay.to_server.size(), c.sent ? 1u : 0u) << c.text;
  }
}

// --- greeting --------------------------------------------------------------------

TEST_F(VoiceTest, GreetingATargetHappensOnce) {
  settings.settings().greeting = {true, "amy", "welcome"};
  Arrive(2, "bob");
  EXPECT_TRUE(relay.to_server.empty());
  Arrive(3, "amy");
  Arrive(3, "amy");
  EXPECT_EQ(relay.to_server, std::vector<std::string>{Say("welcome")});
  EXPECT_FALSE(settings.settings().greeting.enabled);
}

TEST_F(VoiceTest, GreetingEverybodyNamesEachArrival) {
  settings.settings().greeting = {true, kEverybodyText, "hello"};
  Arrive(2, "bob");
  Arrive(3, "amy");
  // On the wire "　＞" and "さん" are UTF-8.
  const std::string join = "\xE3\x80\x80\xEF\xBC\x9E", san = "\xE3\x81\x95\xE3\x82\x93";
  EXPECT_EQ(relay.to_server, (std::vector<std::string>{Say("hello" + join + "bob" + san),
                                                       Say("hello" + join + "amy" + san)}));
  EXPECT_TRUE(settings.settings().greeting.enabled);
}

TEST_F(VoiceTest, GreetingTextWithAHandleIsWhispered) {
  settings.settings().greeting = {true, "amy", "amy:hi there"};
  Arrive(3, "amy");
  EXPECT_EQ(relay.to_server, std::vector<std::string>{WhisperOut("amy", "me", "hi there")});
}

// --- automatic mute ----------------------------------------------------------------

class AutoMuteTest : public VoiceTest {
 protected:
  const std::string kNotice = "\x81\x73" "bob"  // 《bob さんを自動的にミュート設定しました》
      "\x82\xB3\x82\xF1\x82\xF0\x8E\xA9\x93\xAE\x93\x49\x82\xC9\x83\x7E\x83\x85\x81\x5B\x83\x67"
      "\x90\xDD\x92\xE8\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x74";
  int Repeat(std::string_view speaker, int times, bool whisper = false) {
    int passed = 0;
    for (int i = 0; i < times; ++i) {
      std::string p = whisper ? WhisperIn(speaker, "buy") : ChatText(speaker, "buy");
      passed += FromServer(p) == Verdict::kPassOn;
    }
    return passed;
  }
};

TEST_F(AutoMuteTest, EighthIdenticalLineIsSwallowedAndMutes) {
  EXPECT_EQ(Repeat("bob", 7), 7);
  EXPECT_FALSE(settings.IsMuted("bob"));
  relay.Clear();
  EXPECT_EQ(Repeat("bob", 1), 0);
  EXPECT_TRUE(settings.IsMuted("bob"));
  EXPECT_EQ(profile.Get("SYS1", "MuteList"), "bob");
  EXPECT_EQ(relay.to_host.size(), 1u);
  EXPECT_EQ(log.pending().back().prefix, "<Tellu>");
  EXPECT_EQ(log.size(), 8u);  // seven lines and the notice
  // The notice went through the dispatcher as a line of its own.
  EXPECT_EQ(core.LastSpeaker(), "Tellu");
  EXPECT_EQ(core.state().repeat.text, log.pending().back().text);
  EXPECT_EQ(core.state().repeat.count, 0);
  EXPECT_EQ(Repeat("bob", 1), 0);  // muted from now on
}

TEST_F(AutoMuteTest, NoticeNamesTheSpeaker) {
  Repeat("bob", 8);
  EXPECT_EQ(log.pending().back().text, kNotice);
  EXPECT_EQ(relay.to_host.back().substr(0, 9), B("\x01\x0E\x00\x05") + "Tellu");
}

TEST_F(AutoMuteTest, AnotherSpeakerInBetweenStartsAfresh) {
  Repeat("bob", 5);
  Repeat("amy", 1);
  EXPECT_EQ(Repeat("bob", 7), 7);
  EXPECT_FALSE(settings.IsMuted("bob"));
}

TEST_F(AutoMuteTest, OwnAndExemptLinesNeitherCountNorReset) {
  settings.settings().unmute = "pal";
  Repeat("bob", 4);
  Repeat("me", 3);
  Repeat("pal", 20);
  EXPECT_EQ(Repeat("bob", 4), 3);
  EXPECT_TRUE(settings.IsMuted("bob"));
  EXPECT_FALSE(settings.IsMuted("pal"));
}

TEST_F(AutoMuteTest, MutedWhisperIsNotLoggedOrAnswered) {
  settings.settings().whisper_msg = "away";
  settings.settings().whisper_sw = 1;
  Repeat("bob", 7, true);
  log.TakePending();
  relay.Clear();
  EXPECT_EQ(Repeat("bob", 1, true), 0);
  EXPECT_EQ(log.pending().size(), 1u);  // the notice only
  EXPECT_EQ(relay.to_host.size(), 1u);
  EXPECT_TRUE(relay.to_server.empty());
}

TEST_F(AutoMuteTest, HandleTheListCannotStoreIsMutedForTheRun) {
  for (const std::string handle : {"a,b", " lead", "trail\t", "c\rr", "l\nf"}) {
    EXPECT_EQ(Repeat(handle, 7), 7) << handle;
    relay.Clear();
    EXPECT_EQ(Repeat(handle, 1), 0) << handle;
    EXPECT_TRUE(settings.IsMuted(handle)) << handle;
    EXPECT_EQ(relay.to_host.size(), 1u) << handle;  // the notice only
    EXPECT_NE(log.pending().back().text.find(handle), std::string::npos) << handle;
    EXPECT_EQ(Repeat(handle, 3, true), 0) << handle;
  }
  EXPECT_EQ(profile.Get("SYS1", "MuteList"), "<none>");
}

}  // namespace
}  // namespace tellu::chat_test
