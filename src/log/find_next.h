// Where the log window's Find goes next: down from the end of the selection
// or up from its start, round the end of the text when nothing lies that way.
// The view's own search only looks forward; `first` is that search.
#pragma once
#include <functional>
#include <optional>

namespace tellu {

struct TextSpan {
  long start = 0;
  long end = 0;
  friend bool operator==(const TextSpan&, const TextSpan&) = default;
};

// first(from): the first match that starts at or after from, or nothing.
using FirstMatch = std::function<std::optional<TextSpan>(long from)>;

// Nothing when the text holds no match at all.
std::optional<TextSpan> NextMatch(TextSpan selection, bool down, const FirstMatch& first);

}  // namespace tellu
