#include "bar/text_limit.h"

#include <gtest/gtest.h>

namespace tellu {
namespace {

TEST(TextLimit, The111thByteIsCut) {
  const std::string typed(111, 'a');
  TextChange change = OnTextChanged(typed);
  EXPECT_EQ(change.action, TextChange::kCut);
  EXPECT_EQ(change.text, std::string(110, 'a'));
  EXPECT_EQ(OnTextChanged(std::string(110, 'a')).action, TextChange::kNone);
}

TEST(TextLimit, CutNeverLeavesALoneLeadByte) {
  // 109 single bytes, then a double-byte character across the limit.
  const std::string text = std::string(109, 'a') + "\x82\xa0";  // あ
  EXPECT_EQ(CutToLimit(text), std::string(109, 'a'));
  // A trail byte in the lead range at the limit is a whole character's end.
  const std::string pairs = std::string(108, 'a') + "\x88\x9f" + "b";  // 亜 ends at 110
  EXPECT_EQ(CutToLimit(pairs), std::string(108, 'a') + "\x88\x9f");
  // 55 double-byte characters fill the 110 bytes exactly.
  std::string wide;
  for (int i = 0; i < 56; ++i) wide += "\x88\x9f";
  EXPECT_EQ(CutToLimit(wide).size(), 110u);
}

TEST(TextLimit, TrailingTabSends) {
  TextChange change = OnTextChanged("hello\t");
  EXPECT_EQ(change.action, TextChange::kSend);
  EXPECT_EQ(change.text, "hello\t");
  EXPECT_EQ(OnTextChanged("\thello").action, TextChange::kNone);
  EXPECT_EQ(OnTextChanged("").action, TextChange::kNone);
  // An over-long field is cut first, even when it ends in a tab.
  EXPECT_EQ(OnTextChanged(std::string(110, 'a') + "\t").action, TextChange::kCut);
}

}  // namespace
}  // namespace tellu
