#include "bar/message_expand.h"

#include <algorithm>
#include <vector>

namespace tellu {
namespace {

std::vector<std::string> SplitKeepingEnds(const std::string& text) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", start)) {
    pieces.push_back(text.substr(start, at + 2 - start));
    start = at + 2;
  }
  if (start < text.size()) pieces.push_back(text.substr(start));
  return pieces;
}

// Replaces each piece's first "%|" by copies of the character before it,
// until the marker's column reaches the rightmost marker's column.  The
// fill unit is two bytes when the byte two places before the marker has its
// high bit set, one byte otherwise; a two-byte unit may pass the column by
// one.  A marker at the start of a piece has nothing to repeat and stays.
void Align(std::vector<std::string>& pieces) {
  size_t column = 0;
  for (const auto& piece : pieces) {
    size_t at = piece.find("%|");
    if (at != std::string::npos) column = std::max(column, at);
  }
  for (auto& piece : pieces) {
    const size_t at = piece.find("%|");
    if (at == std::string::npos || at == 0) continue;
    const bool wide = at >= 2 && (static_cast<uint8_t>(piece[at - 2]) & 0x80) != 0;
    const std::string unit = wide ? piece.substr(at - 2, 2) : piece.substr(at - 1, 1);
    std::string fill;
    for (size_t pos = at; pos < column; pos += unit.size()) fill += unit;
    piece.replace(at, 2, fill);
  }
}

}  // namespace

Expansion ExpandMessage(std::string_view message, std::string_view field) {
  std::string prefix;
  std::string_view rest = field;
  if (const size_t colon = field.find(':', 1); colon != std::string_view::npos) {
    prefix = std::string(field.substr(0, colon + 1));
    rest = field.substr(colon + 1);
  }

  Expansion result;
  result.field = std::string(rest);
  std::string body;
  size_t start = 0;
  for (size_t at = message.find("%s"); at != std::string_view::npos;
       at = message.find("%s", start)) {
    body.append(message.substr(start, at - start));
    body.append(rest);
    result.field.clear();
    start = at + 2;
  }
  body.append(message.substr(start));

  std::vector<std::string> pieces = SplitKeepingEnds(body);
  for (auto& piece : pieces) piece.insert(0, prefix);
  Align(pieces);
  for (const auto& piece : pieces) result.text += piece;
  // With nothing to send, the bar keeps what was typed, prefix and all.
  if (result.text.empty()) result.field = std::string(field);
  return result;
}

}  // namespace tellu
