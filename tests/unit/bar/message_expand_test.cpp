#include "bar/message_expand.h"

#include <gtest/gtest.h>

namespace tellu {
namespace {

// What is sent, and what the field holds afterwards (the edit is emptied
// exactly when that is nothing).
TEST(MessageExpand, TextAndFieldAfterwards) {
  struct Row {
    const char* message;
    const char* field;
    const char* text;
    const char* after;
  } rows[] = {
      // The whisper prefix moves in front of the template: %s！
      {"%s\x81\x49", "Hana:hello", "Hana:hello\x81\x49", ""},
      {"%s and %s", "hi", "hi and hi", ""},
      // A fixed text leaves the field as it was, or its rest after a prefix.
      {"good night", "typed", "good night", "typed"},
      {"good night", "Hana:hi", "Hana:good night", "hi"},
      // Nothing but a prefix: nothing is left, so the edit is emptied.
      {"good night", "Hana:", "Hana:good night", ""},
      {"a\r\nb", "Hana:", "Hana:a\r\nHana:b", ""},
      // An empty entry sends nothing and keeps the typed text.
      {"", "typed", "", "typed"},
      {"", "", "", ""},
      // Nor does a blank entry with a whisper prefix typed, nor a "%s" with
      // nothing after the prefix: the bar stays as it was.
      {"", "Hana:", "", "Hana:"},
      {"%s", "Hana:", "", "Hana:"},
  };
  for (const Row& row : rows) {
    const Expansion e = ExpandMessage(row.message, row.field);
    EXPECT_EQ(e.text, row.text) << row.message << " / " << row.field;
    EXPECT_EQ(e.field, row.after) << row.message << " / " << row.field;
  }
}

TEST(MessageExpand, PrefixGoesBeforeEveryLine) {
  EXPECT_EQ(ExpandMessage("one\r\ntwo\r\nthree", "Hana:").text,
            "Hana:one\r\nHana:two\r\nHana:three");
  // A trailing separator leaves no empty last line to prefix.
  EXPECT_EQ(ExpandMessage("a\r\n", "Hana:").text, "Hana:a\r\n");
  // A colon in the first byte is no prefix.
  EXPECT_EQ(ExpandMessage("[%s]", ":x").text, "[:x]");
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
