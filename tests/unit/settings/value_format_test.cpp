#include "settings/value_format.h"

#include <gtest/gtest.h>

#include <limits>

namespace tellu {
namespace {

TEST(RealEncoding, WritesOneDecimalPaddedToFour) {
  EXPECT_EQ(FormatReal(9.0), " 9.0");
  EXPECT_EQ(FormatReal(10.5), "10.5");
  EXPECT_EQ(FormatReal(0.0), " 0.0");
  EXPECT_EQ(FormatReal(105 / 10.0), "10.5");
  EXPECT_EQ(FormatReal(123.45), "123.5");  // wider values are not cut
}

TEST(RealEncoding, ScansTheLeadingNumberLikeScanf) {
  EXPECT_DOUBLE_EQ(ParseReal(" 9.0"), 9.0);
  EXPECT_DOUBLE_EQ(ParseReal("10.5pt"), 10.5);
  EXPECT_DOUBLE_EQ(ParseReal("+12"), 12.0);
  EXPECT_DOUBLE_EQ(ParseReal("-1.5"), -1.5);
  EXPECT_DOUBLE_EQ(ParseReal("1e1"), 10.0);
  EXPECT_DOUBLE_EQ(ParseReal("abc"), 0.0);
  EXPECT_DOUBLE_EQ(ParseReal(""), 0.0);
  EXPECT_DOUBLE_EQ(ParseReal("--5"), 0.0);
  EXPECT_DOUBLE_EQ(ParseReal("10,5"), 10.0);  // the C locale's point, whatever the system's
}

TEST(RealEncoding, FontTenthsRoundsAndRejectsNonsense) {
  EXPECT_EQ(FontTenths(ParseReal(" 9.0")), 90);
  EXPECT_EQ(FontTenths(ParseReal(FormatReal(10.5))), 105);
  EXPECT_EQ(FontTenths(0.0), 0);
  EXPECT_EQ(FontTenths(9.96), 100);
  EXPECT_EQ(FontTenths(-3.0), 0);
  EXPECT_EQ(FontTenths(1e300), 0);
  EXPECT_EQ(FontTenths(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(FontTenths(ParseReal("inf")), 0);
}

TEST(PairEncoding, RoundTripsAndFillsMissingNumbersWithZero) {
  EXPECT_EQ(FormatPair({-12, 340}), "-12,340");
  EXPECT_EQ(ParsePair("-12,340"), (Pair{-12, 340}));
  EXPECT_EQ(ParsePair(" 5, 7"), (Pair{5, 7}));   // blanks before a number are skipped
  EXPECT_EQ(ParsePair("5 ,7"), (Pair{5, 0}));    // but not before the comma
  EXPECT_EQ(ParsePair("5"), (Pair{5, 0}));
  EXPECT_EQ(ParsePair("5,"), (Pair{5, 0}));
  EXPECT_EQ(ParsePair("5,x"), (Pair{5, 0}));
  EXPECT_EQ(ParsePair("x,5"), (Pair{0, 0}));
  EXPECT_EQ(ParsePair(""), (Pair{0, 0}));
  EXPECT_EQ(ParsePair("3;4"), (Pair{3, 0}));
  EXPECT_EQ(ParsePair("7,8,9"), (Pair{7, 8}));
}

TEST(PairEncoding, HugeNumbersSaturate) {
  EXPECT_EQ(ParsePair("99999999999999999999,-99999999999999999999"),
            (Pair{std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}));
  EXPECT_EQ(ParsePair("-2147483648,2147483647"),
            (Pair{std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}));
}

TEST(ListEncoding, DropsEmptyItems) {
  EXPECT_EQ(SplitList(""), std::vector<std::string>{});
  EXPECT_EQ(SplitList(",,,"), std::vector<std::string>{});
  EXPECT_EQ(SplitList("a,,b,"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(JoinList(SplitList("a,,b,")), "a,b");
  EXPECT_EQ(JoinList({}), "");
  EXPECT_EQ(JoinList({"x", "x"}), "x,x");
}

}  // namespace
}  // namespace tellu
