#include "bar/tooltips.h"

#include <gtest/gtest.h>

namespace tellu {
namespace {

TEST(TooltipTest, ButtonsOfTheBar) {
  EXPECT_EQ(TooltipText(1001, ""), "RealTimeWho\x95\x5C\x8E\xA6ON/OFF\x90\xD8\x8A\xB7");
  EXPECT_EQ(TooltipText(1005, ""),
            "\x93\x6F\x98\x5E\x83\x81\x83\x62\x83\x5A\x81\x5B\x83\x57\x91\x97\x90\x4D");
  // ステータス変更(オン寝中)
  EXPECT_EQ(TooltipText(1059, "\x83\x49\x83\x93\x90\x51\x92\x86"),
            "\x83\x58\x83\x65\x81\x5B\x83\x5E\x83\x58\x95\xCF\x8D\x58("
            "\x83\x49\x83\x93\x90\x51\x92\x86)");
  EXPECT_EQ(TooltipText(1000, ""), std::nullopt);
}

}  // namespace
}  // namespace tellu
