#include "bar/host_typing_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tellu {
namespace {

using Kind = HostStep::Kind;

// A compact picture of the steps: "S 1c 1 0" sent, "P 102 61 0" posted,
// "wait 50", "save", "to 3,4", "back"; a window-handle wParam shows as "hwnd".
std::vector<std::string> Show(const std::vector<HostStep>& steps) {
  std::vector<std::string> out;
  char line[64];
  for (const HostStep& s : steps) {
    switch (s.kind) {
      case Kind::Send:
      case Kind::Post:
        if (s.wparam_is_window)
          snprintf(line, sizeof line, "%c %x hwnd %x", s.kind == Kind::Send ? 'S' : 'P', s.message,
                   s.lparam);
        else
          snprintf(line, sizeof line, "%c %x %x %x", s.kind == Kind::Send ? 'S' : 'P', s.message,
                   s.wparam, s.lparam);
        break;
      case Kind::Pause: snprintf(line, sizeof line, "wait %d", s.ms); break;
      case Kind::SaveCursor: snprintf(line, sizeof line, "save"); break;
      case Kind::CursorTo: snprintf(line, sizeof line, "to %d,%d", s.x, s.y); break;
      case Kind::RestoreCursor: snprintf(line, sizeof line, "back"); break;
    }
    out.push_back(line);
  }
  return out;
}

using Lines = std::vector<std::string>;

const Lines kActivation = {"S 1c 1 0",        "S 86 1 0", "S 6 2 0",
                           "S 281 1 c000000f", "S 282 c 0", "S 7 0 0",
                           "S 281 0 c000000f", "S 282 c 0"};
const Lines kDeactivation = {"S 282 e 1", "S 86 0 0", "S 281 0 c000000f"};
const Lines kEnter = {"P 100 49e2000d 1c0001", "P 102 d 0", "P 101 49e2000d c01c0001"};

Lines Join(std::initializer_list<Lines> parts) {
  Lines out;
  for (const Lines& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(HostTypingModel, MarkupCharactersGoFullWidthWithoutAPause) {
  EXPECT_EQ(Show(CharacterSteps("a<b")),
            Join({{"P 102 61 0", "wait 50", "P 102 81 0", "P 102 83 0", "P 102 62 0", "wait 50"},
                  kEnter}));
  EXPECT_EQ(Show(CharacterSteps("~&>")),
            Join({{"P 102 81 0", "P 102 60 0", "P 102 81 0", "P 102 95 0", "P 102 81 0",
                   "P 102 84 0"},
                  kEnter}));
}

TEST(HostTypingModel, LinesEndInTheEnterKeyAndLineFeedsAreSkipped) {
  EXPECT_EQ(Show(CharacterSteps("a\r\nb")),
            Join({{"P 102 61 0", "wait 50"}, kEnter, {"P 102 62 0", "wait 50"}, kEnter}));
  // Ending in a carriage return: no Enter of its own is added.
  EXPECT_EQ(Show(CharacterSteps("a\r")), Join({{"P 102 61 0", "wait 50"}, kEnter}));
  // Ending in "\r\n": the last byte is a line feed, so a second Enter follows.
  EXPECT_EQ(Show(CharacterSteps("a\r\n")), Join({{"P 102 61 0", "wait 50"}, kEnter, kEnter}));
  EXPECT_EQ(Show(CharacterSteps("\n")), kEnter);
  EXPECT_TRUE(CharacterSteps("").empty());
}

TEST(HostTypingModel, DoubleByteCharactersGoByteByByteAndKeepTheirTrailByte) {
  // ミ is 83 7E: its trail byte is not a tilde.  表 (95 5C) and ア (83 41).
  EXPECT_EQ(Show(CharacterSteps("\x83\x7E\x95\x5C")),  // ミ表
            Join({{"P 102 83 0", "wait 50", "P 102 7e 0", "wait 50", "P 102 95 0", "wait 50",
                   "P 102 5c 0", "wait 50"},
                  kEnter}));
  // A lead byte without a trail byte leaves the next byte to be read afresh.
  EXPECT_EQ(Show(CharacterSteps("\x83<")),
            Join({{"P 102 83 0", "wait 50", "P 102 81 0", "P 102 83 0"}, kEnter}));
  EXPECT_EQ(Show(CharacterSteps("\x83\r")), Join({{"P 102 83 0", "wait 50"}, kEnter}));
  // A tilde after a character of one byte is still replaced.
  EXPECT_EQ(Show(CharacterSteps("\xB1~")),  // ｱ~
            Join({{"P 102 b1 0", "wait 50", "P 102 81 0", "P 102 60 0"}, kEnter}));
}

TEST(HostTypingModel, DeliveryIsFramedByActivationAndDeactivation) {
  EXPECT_EQ(Show(TypingSteps("")), Join({kActivation, kDeactivation}));
  EXPECT_EQ(Show(TypingSteps("x")),
            Join({kActivation, {"P 102 78 0", "wait 50"}, kEnter, kDeactivation}));
}

TEST(HostTypingModel, ClickMovesTheCursorAndPutsItBack) {
  EXPECT_EQ(Show(ClickSteps(30, 7)),
            Join({{"save"},
                  kActivation,
                  {"to 30,7", "S 21 hwnd 2010001", "S 200 49e20000 7001f", "S 200 49e20000 7001e",
                   "S 20 hwnd 2000002", "S 201 49e20001 7001e", "S 202 49e20000 7001e", "back"},
                  kDeactivation}));
}

TEST(HostTypingModel, ClickPointsPackIntoSixteenBitsEach) {
  const std::vector<HostStep> steps = ClickSteps(-1, 0x12345);
  const Lines shown = Show(steps);
  // x + 1 = 0 and y cut to its low 16 bits; x = -1 as 0xFFFF.
  EXPECT_EQ(shown[11], "S 200 49e20000 23450000");
  EXPECT_EQ(shown[12], "S 200 49e20000 2345ffff");
}

}  // namespace
}  // namespace tellu
