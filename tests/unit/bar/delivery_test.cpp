#include "bar/delivery.h"

#include <gtest/gtest.h>

#include "platform/fake_timers.h"
#include "platform/fake_ui.h"

namespace tellu {
namespace {

class DeliveryTest : public ::testing::Test {
 protected:
  struct Sent {
    std::string line;
    int64_t at;
    bool operator==(const Sent&) const = default;
  };

  TextDelivery::Hooks Hooks() {
    return {[this](const std::string& line) { sent.push_back({line, timers.elapsed()}); },
            [this] { return status; }, [this](int index) { status = index; },
            [this] { return server; }};
  }

  FakeTimers timers;
  FakeUi ui;
  int status = kNormalStatus;
  bool server = true;
  std::vector<Sent> sent;
  TextDelivery delivery{timers, ui, Hooks()};
};

TEST_F(DeliveryTest, LinesGo1300MsApart) {
  delivery.Deliver("one\r\ntwo\r\nthree");
  EXPECT_EQ(sent, (std::vector<Sent>{{"one", 0}}));
  timers.Advance(1299);
  EXPECT_EQ(sent.size(), 1u);
  timers.Advance(10000);
  EXPECT_EQ(sent, (std::vector<Sent>{{"one", 0}, {"two", 1300}, {"three", 2600}}));
  EXPECT_EQ(timers.active(), 0u);
}

TEST_F(DeliveryTest, EmptyMiddleLinesStayAndATrailingSeparatorAddsNone) {
  delivery.Deliver("a\r\n\r\nb\r\n");
  timers.Advance(10000);
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[1].line, "");
  EXPECT_EQ(sent[2].line, "b");
  EXPECT_EQ(SplitChatLines(""), std::vector<std::string>{});
}

TEST_F(DeliveryTest, ThirteenLinesBeepAndSendNothing) {
  std::string text;
  for (int i = 0; i < 13; ++i) text += "x\r\n";
  delivery.Deliver(text);
  timers.Advance(60000);
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(ui.beeps, 1);

  text.resize(text.size() - 3);  // twelve lines is the limit, not past it
  delivery.Deliver(text);
  timers.Advance(60000);
  EXPECT_EQ(sent.size(), 12u);
  EXPECT_EQ(ui.beeps, 1);
}

TEST_F(DeliveryTest, LongLineIsCutTo110Bytes) {
  delivery.Deliver(std::string(150, 'z'));
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].line, std::string(110, 'z'));
}

TEST_F(DeliveryTest, AwayBecomesNormalEvenWithoutServer) {
  status = kAwayStatus;
  server = false;
  delivery.Deliver("hello");
  EXPECT_EQ(status, kNormalStatus);
  EXPECT_TRUE(sent.empty());
  status = 3;  // other statuses are left alone
  server = true;
  delivery.Deliver("hello");
  EXPECT_EQ(status, 3);
}

TEST_F(DeliveryTest, SecondDeliveryWaitsForTheFirst) {
  delivery.Deliver("a1\r\na2");
  timers.Advance(500);
  delivery.Deliver("b1\r\nb2");
  delivery.Deliver("c1");
  timers.Advance(10000);
  EXPECT_EQ(sent, (std::vector<Sent>{
                      {"a1", 0}, {"a2", 1300}, {"b1", 1300}, {"b2", 2600}, {"c1", 2600}}));
}

TEST_F(DeliveryTest, LostServerStopsWaitingLines) {
  delivery.Deliver("a\r\nb\r\nc");
  timers.Advance(1300);
  server = false;
  timers.Advance(10000);
  EXPECT_EQ(sent.size(), 2u);
}

TEST_F(DeliveryTest, ALineSentCanStartAnotherDelivery) {
  TextDelivery* self = nullptr;
  bool again = true;
  TextDelivery nested(timers, ui,
                      {[&](const std::string& line) {
                         sent.push_back({line, timers.elapsed()});
                         if (again) {
                           again = false;
                           self->Deliver("reply");
                         }
                       },
                       nullptr, nullptr, [] { return true; }});
  self = &nested;
  nested.Deliver("first\r\nsecond");
  timers.Advance(5000);
  EXPECT_EQ(sent, (std::vector<Sent>{{"first", 0}, {"second", 1300}, {"reply", 1300}}));
}

TEST_F(DeliveryTest, DestroyedDeliveryLeavesNoTimer) {
  {
    TextDelivery brief(timers, ui, Hooks());
    brief.Deliver("a\r\nb");
    EXPECT_EQ(timers.active(), 1u);
  }
  EXPECT_EQ(timers.active(), 0u);
  timers.Advance(5000);
  EXPECT_EQ(sent.size(), 1u);
}

}  // namespace
}  // namespace tellu
