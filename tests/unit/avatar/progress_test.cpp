// The data side of the progress windows: texts, the share as shown, the bar,
// the faces, and the 250 ms refresh.
#include <gtest/gtest.h>

#include <string>

#include "avatar/progress.h"
#include "platform/fake_timers.h"
#include "platform/fake_ui.h"
#include "text/sjis.h"

namespace tellu {
namespace {

std::string Sj(const char* utf8) { return text::Utf8ToSjis(utf8); }

TEST(AvatarProgressTexts, ReceivingAndSending) {
  ProgressTexts in = TransferTexts("A", "avatar\\foo.mov", true);
  EXPECT_EQ(in.title, "Tellu Receiving");
  // A さんから \r\n foo.mov を受信中です
  EXPECT_EQ(in.message, "A" + Sj("\xE3\x81\x95\xE3\x82\x93\xE3\x81\x8B\xE3\x82\x89") + "\r\n" +
                            "foo.mov" +
                            Sj("\xE3\x82\x92\xE5\x8F\x97\xE4\xBF\xA1\xE4\xB8\xAD\xE3\x81\xA7"
                               "\xE3\x81\x99"));
  ProgressTexts out = TransferTexts("B", "x.mov", false);
  EXPECT_EQ(out.title, "Tellu Sending");
  // B さんへ \r\n x.mov を送信中です
  EXPECT_EQ(out.message, "B" + Sj("\xE3\x81\x95\xE3\x82\x93\xE3\x81\xB8") + "\r\n" + "x.mov" +
                             Sj("\xE3\x82\x92\xE9\x80\x81\xE4\xBF\xA1\xE4\xB8\xAD\xE3\x81\xA7"
                                "\xE3\x81\x99"));
}

TEST(AvatarProgressShare, FormattedInSixPlacesWithOneDecimal) {
  EXPECT_EQ(ShareText(Share(1024, 2048)), "  50.0 %");
  EXPECT_EQ(BarPosition(Share(1024, 2048)), 50);
  EXPECT_EQ(ShareText(Share(2048, 2048)), " 100.0 %");
  EXPECT_EQ(BarPosition(Share(2048, 2048)), 100);
  EXPECT_EQ(ShareText(Share(1, 3)), "  33.3 %");
  EXPECT_EQ(BarPosition(Share(1, 3)), 33);
  EXPECT_EQ(ShareText(Share(2, 3)), "  66.7 %");
  EXPECT_EQ(BarPosition(Share(2, 3)), 66);
  EXPECT_EQ(ShareText(Share(0, 1000)), "   0.0 %");
  EXPECT_EQ(ShareText(Share(999, 1000)), "  99.9 %");
  EXPECT_EQ(ShareText(Share(9999, 10000)), " 100.0 %");  // 99.99 rounds up
  EXPECT_EQ(BarPosition(Share(9999, 10000)), 99);
}

TEST(AvatarProgressShare, ExactTiesRoundAwayFromZeroEverywhere) {
  EXPECT_EQ(ShareText(Share(1, 400)), "   0.3 %");    // 0.25
  EXPECT_EQ(ShareText(Share(49, 400)), "  12.3 %");   // 12.25
  EXPECT_EQ(ShareText(Share(3, 400)), "   0.8 %");    // 0.75
}

TEST(AvatarProgressShare, UnknownOrExceededSizes) {
  EXPECT_EQ(ShareText(Share(0, 0)), "   0.0 %");
  EXPECT_EQ(BarPosition(Share(0, 0)), 0);
  EXPECT_EQ(ShareText(Share(700, 10)), " 100.0 %");
}

TEST(AvatarProgressFaces, EightInTurn) {
  const char* faces[] = {"(^_^)", "(^_-)", "(^_^)/", "(^_^)/~", "(^_^)/~~",
                         "(\xEF\xBE\x9F_\xEF\xBE\x9F)/ ~", "(\xEF\xBE\x9F_\xEF\xBE\x9F)/",
                         "(\xEF\xBE\x9F_\xEF\xBE\x9F)"};  // ﾟ as UTF-8
  for (unsigned i = 0; i < 16; ++i) EXPECT_EQ(Face(i), Sj(faces[i % 8])) << i;
}

TEST(AvatarProgressWindow, EachTickShowsTheShareAndTheNextFace) {
  FakeUi ui;
  FakeTimers timers;
  int cancels = 0;
  ProgressWindow window(ui, timers, [&] { ++cancels; });
  ASSERT_EQ(ui.progress.size(), 1u);
  auto& shown = *ui.progress[0];
  window.SetTexts("A", "avatar\\foo.mov", true);
  EXPECT_EQ(shown.title, "Tellu Receiving");
  window.total = 3;
  window.done = 1;
  timers.Advance(1000);
  EXPECT_TRUE(shown.shares.empty());  // no timer before the size is known
  window.StartTimer();
  window.StartTimer();
  timers.Advance(249);
  EXPECT_TRUE(shown.shares.empty());
  timers.Advance(1);
  ASSERT_EQ(shown.shares.size(), 1u);
  EXPECT_EQ(shown.shares[0].share, "  33.3 %");
  EXPECT_EQ(shown.shares[0].bar, 33);
  EXPECT_EQ(shown.shares[0].face, "(^_^)");
  timers.Advance(1750);
  ASSERT_EQ(shown.shares.size(), 8u);
  EXPECT_EQ(shown.shares[1].face, "(^_-)");
  EXPECT_EQ(shown.shares[7].face, "(\xDF_\xDF)");
  window.Close();
  EXPECT_FALSE(shown.open);
  EXPECT_EQ(timers.active(), 0u);
  shown.Cancel();  // a closed window cancels nothing
  EXPECT_EQ(cancels, 0);
}

}  // namespace
}  // namespace tellu
