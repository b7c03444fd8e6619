// A typed line as the bar's field sends it: tabs, the 110-byte field, F4's name.
#include <gtest/gtest.h>

#include "bar/typed_line.h"

namespace tellu {
namespace {

using Sends = std::vector<std::string>;

TEST(TypedLine, EnterSendsTheField) {
  EXPECT_EQ(TypedLineSends("", "hello"), Sends{"hello"});
  EXPECT_EQ(TypedLineSends("", ""), Sends{""});
  EXPECT_EQ(TypedLineSends("Momo:", "hi"), Sends{"Momo:hi"});
}

TEST(TypedLine, EachTabSendsTheFieldWithTheTab) {
  EXPECT_EQ(TypedLineSends("", "a\tb"), (Sends{"a\t", "b"}));
  EXPECT_EQ(TypedLineSends("", "a\t"), (Sends{"a\t", ""}));
  EXPECT_EQ(TypedLineSends("", "\t\tx"), (Sends{"\t", "\t", "x"}));
}

TEST(TypedLine, FieldHoldsAtMost110Bytes) {
  const std::string long_line(150, 'x');
  EXPECT_EQ(TypedLineSends("", long_line), Sends{std::string(110, 'x')});
  // A tab typed into a full field is cut away with the rest: nothing is sent
  // early, and what follows is lost too.
  EXPECT_EQ(TypedLineSends("", std::string(110, 'x') + "\tyy"), Sends{std::string(110, 'x')});
  // A double-byte character that would end past 110 does not get in.
  const std::string kana = "\x82\xA0";  // あ
  EXPECT_EQ(TypedLineSends("", std::string(109, 'x') + kana + "z"),
            Sends{std::string(109, 'x') + "z"});
}

TEST(TypedLine, ATabAfterABrokenLeadByteStillSends) {
  // 0x09 is never a trail byte: after a broken lead it still sends.
  EXPECT_EQ(TypedLineSends("", "\x83\t"), (Sends{"\x83\t", ""}));
}

}  // namespace
}  // namespace tellu
