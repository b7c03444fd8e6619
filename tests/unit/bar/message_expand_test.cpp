#include "bar/message_expand.h"

#include <gtest/gtest.h>

namespace tellu {
namespace {

TEST(MessageExpand, WhisperPrefixMovesInFrontOfTheTemplate) {
  Expansion e = ExpandMessage("%s\x81\x49", "Hana:hello");  // %s！
  EXPECT_EQ(e.text, "Hana:hello\x81\x49");
  EXPECT_TRUE(e.clears_field);
}

TEST(MessageExpand, PrefixGoesBeforeEveryLine) {
  EXPECT_EQ(ExpandMessage("one\r\ntwo\r\nthree", "Hana:").text,
            "Hana:one\r\nHana:two\r\nHana:three");
  // A trailing separator leaves no empty last line to prefix.
  EXPECT_EQ(ExpandMessage("a\r\n", "Hana:").text, "Hana:a\r\n");
  // A colon in the first byte is no prefix.
  EXPECT_EQ(ExpandMessage("[%s]", ":x").text, "[:x]");
}

TEST(MessageExpand, EveryPlaceholderTakesTheText) {
  Expansion e = ExpandMessage("%s and %s", "hi");
  EXPECT_EQ(e.text, "hi and hi");
  Expansion fixed = ExpandMessage("good night", "typed");
  EXPECT_EQ(fixed.text, "good night");
  EXPECT_FALSE(fixed.clears_field);
}

TEST(MessageExpand, MarkersLineUpWithOneByteFill) {
  Expansion e = ExpandMessage("ab.%|1\r\nabcde.%|2", "");
  EXPECT_EQ(e.text, "ab....1\r\nabcde.2");
  // The texts after the markers start in the same column.
  const size_t second = e.text.find("\r\n") + 2;
  EXPECT_EQ(e.text.find('1'), e.text.find('2') - second);
}

TEST(MessageExpand, TwoByteFillRepeatsTheWholeCharacter) {
  // "・" is 81 45; the second marker sits 3 bytes further right.
  Expansion e = ExpandMessage("\x81\x45%|x\r\nabc\x81\x45%|y", "");
  EXPECT_EQ(e.text, "\x81\x45\x81\x45\x81\x45x\r\nabc\x81\x45y");
}

TEST(MessageExpand, MarkerWithoutFillCharacterStays) {
  EXPECT_EQ(ExpandMessage("%|a\r\nxy%|b", "").text, "%|a\r\nxyb");
  // Only the first marker of a line is aligned.
  EXPECT_EQ(ExpandMessage("a-%|b-%|c", "").text, "a-b-%|c");
}

}  // namespace
}  // namespace tellu
