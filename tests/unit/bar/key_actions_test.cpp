#include "bar/key_actions.h"

#include <gtest/gtest.h>

namespace tellu {
namespace {

constexpr KeyModifiers kNone{};
constexpr KeyModifiers kShift{true, false};
constexpr KeyModifiers kCtrl{false, true};

BarAction Launch(BarKey key, KeyModifiers mods = kNone) {
  return KeyAction(key, mods, true, true);
}

TEST(KeyActions, EscapeIsSwallowedEverywhere) {
  for (bool in_edit : {true, false})
    for (bool launch : {true, false})
      EXPECT_EQ(KeyAction(BarKey::kEscape, kNone, in_edit, launch), BarAction::kSwallow);
}

TEST(KeyActions, TabSendsInBothModesButOnlyInTheEdit) {
  EXPECT_EQ(KeyAction(BarKey::kTab, kNone, true, false), BarAction::kTabSend);
  EXPECT_EQ(Launch(BarKey::kTab), BarAction::kTabSend);
  EXPECT_EQ(KeyAction(BarKey::kTab, kNone, false, true), BarAction::kDefault);
}

TEST(KeyActions, LaunchModeKeys) {
  EXPECT_EQ(Launch(BarKey::kF1), BarAction::kHelp);
  EXPECT_EQ(Launch(BarKey::kF3), BarAction::kGhost);
  EXPECT_EQ(Launch(BarKey::kF3, kShift), BarAction::kGhostFrozen);
  EXPECT_EQ(Launch(BarKey::kF4), BarAction::kReplySpeaker);
  EXPECT_EQ(Launch(BarKey::kF4, kShift), BarAction::kReplyWhisperer);
  EXPECT_EQ(Launch(BarKey::kPageUp), BarAction::kRaise);
  EXPECT_EQ(Launch(BarKey::kPageDown), BarAction::kLower);
  EXPECT_EQ(Launch(BarKey::kHome), BarAction::kResetOffsets);
  EXPECT_EQ(Launch(BarKey::kLeft, kCtrl), BarAction::kTurnLeft);
  EXPECT_EQ(Launch(BarKey::kRight, kCtrl), BarAction::kTurnRight);
  EXPECT_EQ(Launch(BarKey::kUp, kCtrl), BarAction::kStepForward);
  EXPECT_EQ(Launch(BarKey::kDown, kCtrl), BarAction::kStepBack);
}

TEST(KeyActions, PlainArrowsAndAttachModeGetDefaultHandling) {
  for (BarKey key : {BarKey::kLeft, BarKey::kRight, BarKey::kUp, BarKey::kDown})
    EXPECT_EQ(Launch(key), BarAction::kDefault);
  for (BarKey key : {BarKey::kF1, BarKey::kF3, BarKey::kF4, BarKey::kPageUp, BarKey::kHome})
    EXPECT_EQ(KeyAction(key, kNone, true, false), BarAction::kDefault);
  EXPECT_EQ(KeyAction(BarKey::kUp, kCtrl, true, false), BarAction::kDefault);
  EXPECT_EQ(Launch(BarKey::kOther, kCtrl), BarAction::kDefault);
}

TEST(KeyActions, PositionGoesOutAfterMovementAndReplyKeys) {
  EXPECT_TRUE(ResendsPosition(Launch(BarKey::kF4)));
  EXPECT_TRUE(ResendsPosition(Launch(BarKey::kHome)));
  EXPECT_TRUE(ResendsPosition(Launch(BarKey::kUp, kCtrl)));
  EXPECT_FALSE(ResendsPosition(Launch(BarKey::kF3)));
  EXPECT_FALSE(ResendsPosition(Launch(BarKey::kF1)));
  EXPECT_FALSE(ResendsPosition(Launch(BarKey::kTab)));
}

TEST(KeyActions, ReplyPutsTheNameInFront) {
  EXPECT_EQ(ReplyText("Hana", "hello"), "Hana:hello");
  EXPECT_EQ(ReplyText("Hana", ""), "Hana:");
  EXPECT_EQ(ReplyText("", "hello"), std::nullopt);
}

}  // namespace
}  // namespace tellu
