#include "log/find_next.h"

#include <gtest/gtest.h>

#include <string>

namespace tellu {
namespace {

// The view's forward search over a plain text.
FirstMatch Over(const std::string& text, const std::string& word) {
  return [text, word](long from) -> std::optional<TextSpan> {
    const size_t at = text.find(word, static_cast<size_t>(from));
    if (at == std::string::npos) return std::nullopt;
    return TextSpan{static_cast<long>(at), static_cast<long>(at + word.size())};
  };
}

TEST(NextMatch, DownFromTheSelectionsEndUpFromItsStartRoundTheEnds) {
  //                       0    5    10   15   20
  const std::string text = "one two one three one";
  struct Row {
    const char* name;
    std::string word;
    TextSpan selection;
    bool down;
    std::optional<TextSpan> found;
  };
  const Row rows[] = {
      {"down from the start", "one", {0, 0}, true, TextSpan{0, 3}},
      {"down past the selected match", "one", {0, 3}, true, TextSpan{8, 11}},
      {"down from inside a word", "one", {9, 9}, true, TextSpan{18, 21}},
      {"down past the last, round to the first", "one", {18, 21}, true, TextSpan{0, 3}},
      {"down from the end with the caret there", "two", {21, 21}, true, TextSpan{4, 7}},
      {"up past the selected match", "one", {18, 21}, false, TextSpan{8, 11}},
      {"up from the end", "one", {21, 21}, false, TextSpan{18, 21}},
      {"up from inside a match skips it", "one", {9, 9}, false, TextSpan{0, 3}},
      {"up past the first, round to the last", "one", {0, 3}, false, TextSpan{18, 21}},
      {"the only match found again", "three", {12, 17}, true, TextSpan{12, 17}},
      {"the only match found again upward", "three", {12, 17}, false, TextSpan{12, 17}},
      {"a word not in the text", "four", {0, 0}, true, std::nullopt},
      {"a word not in the text upward", "four", {21, 21}, false, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(NextMatch(row.selection, row.down, Over(text, row.word)), row.found);
  }
}

TEST(NextMatch, UpFindsOverlappingMatches) {
  // "aa" in "aaaa" starts at 0, 1 and 2.
  EXPECT_EQ(NextMatch({3, 3}, false, Over("aaaa", "aa")), (TextSpan{1, 3}));
  EXPECT_EQ(NextMatch({1, 3}, false, Over("aaaa", "aa")), (TextSpan{2, 4}));
}

TEST(NextMatch, ASearchThatDoesNotMoveOnEndsTheWalk) {
  const FirstMatch stuck = [](long) { return std::optional<TextSpan>(TextSpan{4, 6}); };
  EXPECT_EQ(NextMatch({2, 2}, false, stuck), (TextSpan{4, 6}));
}

}  // namespace
}  // namespace tellu
