#include "log/find_next.h"

namespace tellu {

std::optional<TextSpan> NextMatch(TextSpan selection, bool down, const FirstMatch& first) {
  if (down) {
    if (std::optional<TextSpan> found = first(selection.end)) return found;
    return first(0);
  }
  // Up: the last match that ends before the selection starts, else the last
  // of all.  Matches may overlap, so each search starts one past the last;
  // a search that does not move on ends the walk.
  std::optional<TextSpan> before, last;
  for (std::optional<TextSpan> m = first(0); m && (!last || m->start > last->start);
       m = first(m->start + 1)) {
    if (m->end <= selection.start) before = m;
    last = m;
    if (m->end > selection.start && before) break;
  }
  return before ? before : last;
}

}  // namespace tellu
