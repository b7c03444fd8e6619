// The input bar's text field: its 110-byte limit and what a change of its
// text means.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace tellu {

inline constexpr size_t kBarTextLimit = 110;

// The first `limit` bytes of text, one byte fewer when the cut would split a
// double-byte character: the field never ends in a lone lead byte.
std::string CutToLimit(std::string_view text, size_t limit = kBarTextLimit);

struct TextChange {
  enum Action {
    kNone,  // keep typing
    kCut,   // write `text` back into the edit, caret at its end, focus the edit
    kSend,  // run Send with the field as it is (it ends in a tab)
  };
  Action action = kNone;
  std::string text;
};

// The rule of the edit's change notification.
TextChange OnTextChanged(std::string_view field);

}  // namespace tellu
