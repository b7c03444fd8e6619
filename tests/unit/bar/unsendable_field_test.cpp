#include <gtest/gtest.h>

#include "bar/unsendable_field.h"
#include "text/sjis.h"

namespace tellu {
namespace {

// The first character that cannot be sent is selected and named.
TEST(UnsendableField, TheFirstSuchCharacterIsSelectedAndNamed) {
  const struct {
    std::u16string field;
    size_t start, end;
    std::u16string named;  // empty: the field may be sent
  } cases[] = {
      {u"hi \U0001F600 there", 3, 5, u"\U0001F600"},
      {u"\uD55C\uAD6D \u2665", 0, 1, u"\uD55C"},
      {u"caf\u00E9 \U0001F600", 3, 4, u"\u00E9"},
      {u"a\xD800" "b", 1, 2, u"U+D800"},   // a lone surrogate is not drawn
      {u"x\u202Ey", 1, 2, u"U+202E"},      // nor is a change of direction
      {u"\u301C\u00A5 \u3042\uE000", 0, 0, u""},
      {u"", 0, 0, u""},
  };
  for (const auto& c : cases) {
    const auto got = FindUnsendableField(c.field);
    const std::string label = text::SjisToUtf8(text::Utf16ToSjis(c.field));
    ASSERT_EQ(got.has_value(), !c.named.empty()) << label;
    if (!got) continue;
    EXPECT_EQ(got->start, c.start) << label;
    EXPECT_EQ(got->end, c.end) << label;
    // "この文字は送信できません: X", then the English line.
    EXPECT_EQ(got->text, u"\u3053\u306E\u6587\u5B57\u306F\u9001\u4FE1\u3067\u304D\u307E\u305B"
                         u"\u3093: " + c.named + u"\r\nThis character cannot be sent: " + c.named)
        << label;
  }
}

}  // namespace
}  // namespace tellu
