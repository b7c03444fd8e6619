#include "settings/message_table.h"

#include <gtest/gtest.h>

#include "platform/fake_profile.h"

namespace tellu {
namespace {

TEST(MessageText, LabelBeforeFirstEqualsAndBackslashNBecomesCrLf) {
  MessageEntry e = ParseMessageText("hi=hello\\nworld");
  EXPECT_EQ(e.label, "hi");
  EXPECT_EQ(e.text, "hello\r\nworld");
}

TEST(MessageText, WithoutEqualsTheValueIsLabelAndText) {
  MessageEntry e = ParseMessageText("one\\ntwo");
  EXPECT_EQ(e.label, "one\r\ntwo");
  EXPECT_EQ(e.text, "one\r\ntwo");
}

TEST(MessageText, SecondEqualsStaysInTheText) {
  MessageEntry e = ParseMessageText("a=b=c");
  EXPECT_EQ(e.label, "a");
  EXPECT_EQ(e.text, "b=c");
  EXPECT_EQ(ParseMessageText("=x").label, "");
  EXPECT_EQ(ParseMessageText("x=").text, "");
}

TEST(MessageText, BackslashInsideDoubleByteCharacterIsNotALineBreak) {
  // "ソ" is 83 5C: followed by "n" it must stay "ソn".
  EXPECT_EQ(ParseMessageText("\x83\x5cn").text, "\x83\x5cn");
  EXPECT_EQ(ParseMessageText("\x83\x5c\\n").text, "\x83\x5c\r\n");
  EXPECT_EQ(ParseMessageText("\\\\n").text, "\\\r\n");
  EXPECT_EQ(ParseMessageText("\\").text, "\\");
  EXPECT_EQ(ParseMessageText("\x83").text, "\x83");
}

TEST(MessageTable, ReadsTextsFromTheSectionNamedByMsg) {
  FakeProfile profile;
  profile.Set("SYS2", "MSG", "Canned");
  profile.Set("Canned", "TEXT1", "hi=hello");
  profile.Set("Canned", "TEXT16", "bye");
  SettingsStore store(profile, "SYS2");
  LoadMessageTable(store);
  const auto& m = store.settings().messages;
  EXPECT_EQ(m[0].label, "hi");
  EXPECT_EQ(m[0].text, "hello");
  EXPECT_EQ(m[15].label, "bye");
  EXPECT_EQ(m[1].label, "");
  EXPECT_EQ(profile.reads.front(), (FakeProfile::Access{"SYS2", "MSG", ""}));
  EXPECT_EQ(profile.reads.back(), (FakeProfile::Access{"Canned", "TEXT16", ""}));
  EXPECT_EQ(profile.reads.size(), 17u);
}

TEST(MessageTable, WithoutMsgEveryEntryIsBlank) {
  FakeProfile profile;
  profile.Set("", "TEXT1", "should not be used");
  SettingsStore store(profile, "SYS1");
  store.settings().messages[3] = {"old", "old"};
  LoadMessageTable(store);
  for (const auto& e : store.settings().messages) {
    EXPECT_EQ(e.label, "");
    EXPECT_EQ(e.text, "");
  }
}

}  // namespace
}  // namespace tellu
