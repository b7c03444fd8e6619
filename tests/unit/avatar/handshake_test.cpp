// The handshake's decisions and texts, reached as the chat stream reaches
// them: whispers from the server through DispAddBin.
#include <gtest/gtest.h>

#include <string>

#include "avatar/address.h"
#include "text/sjis.h"
#include "unit/avatar/avatar_world.h"

namespace tellu::avatar_test {
namespace {

std::string Sj(const char* utf8) { return text::Utf8ToSjis(utf8); }

// The whisper texts as the other user's program expects them, from UTF-8.
const std::string kPrefix = Sj("\xE3\x81\x82\xE3\x81\xAE\xE3\x81\x89,");  // あのぉ,
const std::string kNotice = kPrefix + Sj("\xE3\x81\x88\xE3\x81\xA3\xE3\x81\xA8,");  // えっと,
const std::string kRequest = kPrefix + Sj("\xE3\x82\xA2\xE3\x83\x90\xE9\xA0\x82\xE6\x88\xB4");  // アバ頂戴
// アバタファイルは送信できません
const std::string kCannotSend = Sj(
    "\xE3\x82\xA2\xE3\x83\x90\xE3\x82\xBF\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE3\x81"
    "\xAF\xE9\x80\x81\xE4\xBF\xA1\xE3\x81\xA7\xE3\x81\x8D\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93");
// さんから不正なファイル要求が来ました
const std::string kBadFile = Sj(
    "\xE3\x81\x95\xE3\x82\x93\xE3\x81\x8B\xE3\x82\x89\xE4\xB8\x8D\xE6\xAD\xA3\xE3\x81\xAA\xE3\x83"
    "\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE8\xA6\x81\xE6\xB1\x82\xE3\x81\x8C\xE6\x9D\xA5\xE3"
    "\x81\xBE\xE3\x81\x97\xE3\x81\x9F");
// 《 ... さんからのアバタ要求を自動拒絶しました》
const std::string kAutoOpen = Sj("\xE3\x80\x8A");
const std::string kAutoRefused = Sj(
    "\xE3\x81\x95\xE3\x82\x93\xE3\x81\x8B\xE3\x82\x89\xE3\x81\xAE\xE3\x82\xA2\xE3\x83\x90\xE3\x82"
    "\xBF\xE8\xA6\x81\xE6\xB1\x82\xE3\x82\x92\xE8\x87\xAA\xE5\x8B\x95\xE6\x8B\x92\xE7\xB5\xB6\xE3"
    "\x81\x97\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F\xE3\x80\x8B");

class HandshakeTest : public ::testing::Test {
 protected:
  HandshakeTest() {
    owner.core.state().current_avatar = "avatar\\me.mov";
    owner.files.Put("C:\\host\\avatar\\me.mov", "avatar bytes");
  }
  // A request from `who` on `address`, as that user's program words it.
  Verdict RequestFrom(const std::string& who, const std::string& address) {
    return owner.Whispered(who, kRequest + EncodeAddress(address));
  }
  std::vector<WhisperOut> To(const std::string& target, const std::string& text) {
    return {{target, owner.core.state().own_name, text}};
  }

  World owner{"me"};
};

TEST_F(HandshakeTest, OnlyThePrefixWithTheSmallVowelIsClaimed) {
  EXPECT_EQ(owner.Whispered("A", Sj("\xE3\x81\x82\xE3\x81\xAE,xyz")), Verdict::kPassOn);  // あの,xyz
  EXPECT_EQ(owner.log.size(), 1u);
  EXPECT_TRUE(owner.Whispers().empty());
}

TEST_F(HandshakeTest, ANoticeIsShownInABoxAndNowhereElse) {
  EXPECT_EQ(owner.Whispered("A", kNotice + Sj("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88")), Verdict::kSwallow);
  ASSERT_EQ(owner.ui.notices.size(), 1u);
  EXPECT_EQ(owner.ui.notices[0].text, Sj("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88"));  // テスト
  EXPECT_EQ(owner.ui.notices[0].caption, "from A");
  EXPECT_EQ(owner.ui.notices[0].icon, NoticeIcon::None);
  EXPECT_EQ(owner.log.size(), 0u);
  EXPECT_TRUE(owner.relay.to_host.empty());
}

TEST_F(HandshakeTest, AnUnknownKeywordIsAnsweredWithTheBarTitle) {
  owner.core.state().last_whisper_target = "earlier";
  EXPECT_EQ(owner.Whispered("A", kPrefix + "xyz"), Verdict::kSwallow);
  // あのぉ,えっと,相手の + title + は対応してません
  EXPECT_EQ(owner.Whispers(),
            To("A", kNotice + Sj("\xE7\x9B\xB8\xE6\x89\x8B\xE3\x81\xAE") + "Tellu bar" +
                        Sj("\xE3\x81\xAF\xE5\xAF\xBE\xE5\xBF\x9C\xE3\x81\x97\xE3\x81\xA6\xE3\x81"
                           "\xBE\xE3\x81\x9B\xE3\x82\x93")));
  // Exchange whispers are neither remembered, logged nor echoed.
  EXPECT_EQ(owner.core.state().last_whisper_target, "earlier");
  EXPECT_EQ(owner.log.size(), 0u);
  EXPECT_TRUE(owner.relay.to_host.empty());
}

TEST_F(HandshakeTest, ACurrentAvatarThatIsNoMovFileIsNeverSent) {
  owner.core.state().current_avatar = "avatar\\me.cmp";
  owner.files.Put("C:\\host\\avatar\\me.cmp", "x");
  RequestFrom("A", "198.51.100.1");
  EXPECT_TRUE(owner.Whispers().empty());
  EXPECT_EQ(owner.SystemLines(), std::vector<std::string>{"A" + kBadFile});
  EXPECT_EQ(owner.ui.beeps, 0);
}

TEST_F(HandshakeTest, AMissingFileIsSaid) {
  owner.files.contents().clear();
  RequestFrom("A", "198.51.100.1");
  // ｱﾊﾞﾀﾌｧｲﾙを持ってません　^^;
  EXPECT_EQ(owner.Whispers(),
            To("A", kNotice + Sj("\xEF\xBD\xB1\xEF\xBE\x8A\xEF\xBE\x9E\xEF\xBE\x80\xEF\xBE\x8C"
                                 "\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99\xE3\x82\x92\xE6\x8C\x81"
                                 "\xE3\x81\xA3\xE3\x81\xA6\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93"
                                 "\xE3\x80\x80^^;")));
  EXPECT_TRUE(owner.ui.questions.empty());
}

TEST_F(HandshakeTest, TwoLocalNetworksCannotMeet) {
  owner.address = "192.168.1.2";
  RequestFrom("A", "10.0.0.5");
  // me さんもﾛｰｶﾙﾈｯﾄ接続のため受信できません
  EXPECT_EQ(owner.Whispers(),
            To("A", kNotice + "me" +
                        Sj("\xE3\x81\x95\xE3\x82\x93\xE3\x82\x82\xEF\xBE\x9B\xEF\xBD\xB0\xEF\xBD"
                           "\xB6\xEF\xBE\x99\xEF\xBE\x88\xEF\xBD\xAF\xEF\xBE\x84\xE6\x8E\xA5\xE7"
                           "\xB6\x9A\xE3\x81\xAE\xE3\x81\x9F\xE3\x82\x81\xE5\x8F\x97\xE4\xBF\xA1"
                           "\xE3\x81\xA7\xE3\x81\x8D\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93")));
  ASSERT_EQ(owner.ui.notices.size(), 1u);
  // A さんからアバタ要求がありましたが\r\nﾛｰｶﾙﾈｯﾄ接続のため送信できません
  EXPECT_EQ(owner.ui.notices[0].text,
            "A" + Sj("\xE3\x81\x95\xE3\x82\x93\xE3\x81\x8B\xE3\x82\x89\xE3\x82\xA2\xE3\x83\x90"
                     "\xE3\x82\xBF\xE8\xA6\x81\xE6\xB1\x82\xE3\x81\x8C\xE3\x81\x82\xE3\x82\x8A"
                     "\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F\xE3\x81\x8C\r\n\xEF\xBE\x9B\xEF\xBD"
                     "\xB0\xEF\xBD\xB6\xEF\xBE\x99\xEF\xBE\x88\xEF\xBD\xAF\xEF\xBE\x84\xE6\x8E"
                     "\xA5\xE7\xB6\x9A\xE3\x81\xAE\xE3\x81\x9F\xE3\x82\x81\xE9\x80\x81\xE4\xBF"
                     "\xA1\xE3\x81\xA7\xE3\x81\x8D\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93"));
  EXPECT_EQ(owner.ui.notices[0].caption, "Tellu");
  EXPECT_EQ(owner.ui.notices[0].icon, NoticeIcon::Exclamation);
  EXPECT_EQ(owner.ui.beeps, 0);
}

TEST_F(HandshakeTest, NoServerConnectionYetCountsAsLocal) {
  owner.address = "";
  RequestFrom("A", "10.0.0.5");
  EXPECT_EQ(owner.ui.notices.size(), 1u);
  EXPECT_TRUE(owner.ui.questions.empty());
}

TEST_F(HandshakeTest, TheRefusalFlagWinsEvenWhileAway) {
  owner.settings.settings().ava_req_refuse_flag = 1;
  owner.settings.settings().ava_req_refuse_msg = "busy";
  owner.core.state().status = kAwayStatus;
  RequestFrom("A", "198.51.100.1");
  // アバタファイルは送信できません\r\n理由：busy
  EXPECT_EQ(owner.Whispers(),
            To("A", kNotice + kCannotSend + "\r\n" + Sj("\xE7\x90\x86\xE7\x94\xB1\xEF\xBC\x9A") +
                        "busy"));
  EXPECT_EQ(owner.SystemLines(), std::vector<std::string>{kAutoOpen + "A" + kAutoRefused});
  EXPECT_EQ(owner.ui.beep_kinds, std::vector<BeepKind>{BeepKind::Asterisk});
  EXPECT_TRUE(owner.ui.questions.empty());
  // The flash started and ends at its first tick.
  EXPECT_TRUE(owner.exchange.flash().running());
  owner.timers.Advance(200);
  EXPECT_FALSE(owner.exchange.flash().running());
}

TEST_F(HandshakeTest, AwayRefusesWhenTheFlagIsClear) {
  owner.core.state().status = kAwayStatus;
  RequestFrom("A", "198.51.100.1");
  // 離席中ですのでアバタファイルは送信できません
  EXPECT_EQ(owner.Whispers(),
            To("A", kNotice + Sj("\xE9\x9B\xA2\xE5\xB8\xAD\xE4\xB8\xAD\xE3\x81\xA7\xE3\x81\x99"
                                 "\xE3\x81\xAE\xE3\x81\xA7") +
                        kCannotSend));
  EXPECT_EQ(owner.SystemLines(), std::vector<std::string>{kAutoOpen + "A" + kAutoRefused});
}

TEST_F(HandshakeTest, TheUserIsAskedAndNoDeclines) {
  RequestFrom("A", "198.51.100.1");
  ASSERT_EQ(owner.ui.questions.size(), 1u);
  // A さんがアバタファイルを\r\n要求してますが送信しますか？
  EXPECT_EQ(owner.ui.questions[0].text,
            "A" + Sj("\xE3\x81\x95\xE3\x82\x93\xE3\x81\x8C\xE3\x82\xA2\xE3\x83\x90\xE3\x82\xBF"
                     "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE3\x82\x92\r\n\xE8\xA6"
                     "\x81\xE6\xB1\x82\xE3\x81\x97\xE3\x81\xA6\xE3\x81\xBE\xE3\x81\x99\xE3\x81"
                     "\x8C\xE9\x80\x81\xE4\xBF\xA1\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x99\xE3\x81"
                     "\x8B\xEF\xBC\x9F"));
  EXPECT_EQ(owner.ui.questions[0].caption, "Tellu");
  EXPECT_TRUE(owner.Whispers().empty());
  owner.ui.Answer(false);
  EXPECT_EQ(owner.Whispers(), To("A", kNotice + kCannotSend));
}

TEST_F(HandshakeTest, YesOffersTheFileWithTheAddressOfTheRequestsTime) {
  RequestFrom("A", "198.51.100.1");
  owner.address = "203.0.113.99";  // a new server connection meanwhile
  owner.ui.Answer(true);
  EXPECT_EQ(owner.Whispers(),
            To("A", kPrefix + "AVA,avatar\\me.mov," + EncodeAddress("203.0.113.10")));
  EXPECT_TRUE(owner.net.connects().empty());
}

TEST_F(HandshakeTest, YesBehindAPrivateNetworkPushesTheFile) {
  owner.address = "192.168.1.2";
  RequestFrom("A", "198.51.100.1");
  owner.ui.Answer(true);
  EXPECT_TRUE(owner.Whispers().empty());
  ASSERT_EQ(owner.net.connects().size(), 1u);
  EXPECT_EQ(owner.net.LastConnect()->host(), "198.51.100.1");
  EXPECT_EQ(owner.net.LastConnect()->port(), World::kPort);
  EXPECT_EQ(owner.ui.progress.back()->title, "Tellu Sending");
}

TEST_F(HandshakeTest, TheFlashRunsUntilEveryOpenQuestionIsAnswered) {
  RequestFrom("A", "198.51.100.1");
  RequestFrom("B", "198.51.100.2");
  RequestFrom("C", "198.51.100.3");
  ASSERT_EQ(owner.ui.questions.size(), 3u);
  owner.ui.Answer(true);
  owner.timers.Advance(1000);
  owner.ui.Answer(false);
  owner.timers.Advance(1000);
  EXPECT_TRUE(owner.exchange.flash().running());
  owner.ui.Answer(true);
  EXPECT_TRUE(owner.exchange.flash().running());
  owner.timers.Advance(200);
  EXPECT_FALSE(owner.exchange.flash().running());
  EXPECT_EQ(owner.ui.flashes.back(), false);
  EXPECT_EQ(owner.Whispers().size(), 3u);
  EXPECT_EQ(owner.Whispers()[1], To("B", kNotice + kCannotSend)[0]);
}

TEST_F(HandshakeTest, AQuestionAnsweredAfterTheExchangeIsGoneDoesNothing) {
  auto world = std::make_unique<World>("me");
  world->core.state().current_avatar = "avatar\\me.mov";
  world->files.Put("C:\\host\\avatar\\me.mov", "x");
  world->Whispered("A", kRequest + EncodeAddress("198.51.100.1"));
  ASSERT_EQ(world->ui.questions.size(), 1u);
  FakeUi::Question q = world->ui.questions.front();
  world.reset();
  q.answer(true);  // must not touch the destroyed exchange (the sanitizer watches)
  // The same answer while the exchange lives does act: it offers the file.
  ASSERT_EQ(RequestFrom("A", "198.51.100.1"), Verdict::kSwallow);
  ASSERT_EQ(owner.ui.questions.size(), 1u);
  owner.ui.questions.front().answer(true);
  EXPECT_EQ(owner.Whispers().size(), 1u);
}

TEST_F(HandshakeTest, AnOfferBecomesAConnectionToTheOwner) {
  World requester{"you"};
  requester.exchange.RequestAvatar("A");
  EXPECT_EQ(requester.Whispered("A", kPrefix + "AVA,avatar\\x.mov," + EncodeAddress("198.51.100.7")),
            Verdict::kSwallow);
  ASSERT_EQ(requester.net.connects().size(), 1u);
  EXPECT_EQ(requester.net.LastConnect()->host(), "198.51.100.7");
  EXPECT_EQ(requester.net.LastConnect()->port(), World::kPort);
  EXPECT_EQ(requester.ui.progress.back()->title, "Tellu Receiving");
  requester.net.LastConnect()->Complete();
  requester.net.LastConnect()->Feed("ok\n");
  EXPECT_EQ(requester.net.LastConnect()->sent(), "getava,you,avatar\\x.mov\n");
}

TEST_F(HandshakeTest, AnOfferWithoutAddressConnectsNowhere) {
  World requester{"you"};
  requester.exchange.RequestAvatar("A");
  requester.Whispered("A", kPrefix + "AVA,avatar\\x.mov");
  EXPECT_TRUE(requester.net.connects().empty());
  EXPECT_TRUE(requester.SystemLines().empty());
}

TEST_F(HandshakeTest, AnOfferOfAFileOutsideTheHostFolderIsRefused) {
  World requester{"you"};
  requester.exchange.RequestAvatar("A");
  for (const char* file : {"..\\evil.mov", "C:\\Windows\\evil.mov", "avatar\\x.exe"})
    requester.Whispered("A", kPrefix + "AVA," + file + "," + EncodeAddress("198.51.100.7"));
  EXPECT_TRUE(requester.net.connects().empty());
  EXPECT_TRUE(requester.ui.progress.empty());
  EXPECT_EQ(requester.SystemLines(), std::vector<std::string>(3, "A" + kBadFile));
}

TEST_F(HandshakeTest, ARequestCarriesTheScrambledOwnAddress) {
  owner.exchange.RequestAvatar("A");
  EXPECT_EQ(owner.Whispers(), To("A", kRequest + "\xB2\xB0\xB3\xAE\xB0\xAE\xB1\xB1\xB3\xAE\xB1\xB0"));
  owner.address = "";
  owner.exchange.RequestAvatar("B");
  EXPECT_EQ(owner.Whispers().back(), To("B", kRequest)[0]);
}

TEST_F(HandshakeTest, TheRequestMenuListsOtherUsersOfTheProgramsWithAnAvatar) {
  owner.Person(2, "ann", "avatar\\ann.mov", 1);
  owner.Person(3, "bob", "bob.mov", 4);  // the companion program
  owner.Person(4, "cat", "avatar\\cat.mov", 0);
  owner.Person(5, "dan", "", 1);
  owner.Person(6, "eve", "a\\b\\eve.mov", 15);
  Menu menu = owner.exchange.RequestMenu();
  ASSERT_EQ(menu.size(), 2u);
  EXPECT_EQ(menu[0].command, 0x212);
  EXPECT_EQ(menu[0].label, "ann\tann.mov");
  EXPECT_EQ(menu[1].command, 0x213);
  EXPECT_EQ(menu[1].label, "bob\tbob.mov");
  EXPECT_TRUE(owner.exchange.OnMenuCommand(0x213));
  EXPECT_EQ(owner.Whispers(), To("bob", kRequest + EncodeAddress("203.0.113.10")));
  EXPECT_FALSE(owner.exchange.OnMenuCommand(0x211));
  EXPECT_TRUE(owner.exchange.OnMenuCommand(0x21D));  // never filled: nothing sent
  EXPECT_EQ(owner.Whispers().size(), 1u);
}

TEST(AvatarFlash, BlinksOnceInFourTicksAndStopsAtTheTickAfterTheLastAnswer) {
  FakeTimers timers;
  FakeUi ui;
  AttentionFlash flash(timers, ui);
  flash.Start();
  flash.Start();
  EXPECT_EQ(timers.active(), 1u);
  timers.Advance(800);
  EXPECT_EQ(ui.flashes, (std::vector<bool>{false, false, false, true}));
  flash.Stop();
  timers.Advance(200);
  EXPECT_TRUE(flash.running());
  flash.Stop();
  flash.Stop();  // never below zero
  EXPECT_EQ(flash.requests(), 0);
  timers.Advance(200);
  EXPECT_FALSE(flash.running());
  EXPECT_EQ(timers.active(), 0u);
  EXPECT_EQ(ui.flashes, (std::vector<bool>{false, false, false, true, false, false, false}));
  flash.Start();
  EXPECT_EQ(flash.requests(), 1);
  EXPECT_TRUE(flash.running());
}

}  // namespace
}  // namespace tellu::avatar_test
